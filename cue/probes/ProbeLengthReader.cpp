#include "cue/probes/ProbeLengthReader.h"

#include "cue/probes/BelievableLength.h"
#include "cue/probes/ByteSource.h"
#include "cue/probes/StatedLength.h"
#include "messages/Messages.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

constexpr std::size_t kFirstBytes = 4096;

} // namespace

LengthReading ProbeLengthReader::AudioLengthOf(const std::string& path) {
    std::optional<LengthReading> reading;
    std::uint64_t size = 0;
    {
        ByteSource bytes(path);
        if (!bytes.IsOpen()) {
            return {};
        }
        size = bytes.Size();
        // A file reserved and not yet written reads as zeros: a reader would look for a header through
        // all of it.
        std::array<char, kFirstBytes> first{};
        const auto firstEnd =
            first.begin() + static_cast<std::ptrdiff_t>(bytes.ReadAt(0, first.data(), first.size()));
        if (firstEnd != first.begin() &&
            std::all_of(first.begin(), firstEnd, [](char c) { return c == 0; })) {
            return LengthReading::Unknown(Localized("it begins with zeros, not a header"));
        }
        reading = StatedLength(bytes, path);
        if (bytes.WentTooDeep()) {
            return LengthReading::Unknown(Localized(ByteSource::kTooDeep));
        }
        // The other reader reads the file this one opened, with a budget of its own.
        if (!reading) {
            reading = otherFormats_ != nullptr ? otherFormats_->AudioLengthOfOpen(path, bytes.Handle(), size)
                                               : LengthReading();
        }
    }
    return Believable(std::move(*reading), LowerExtension(path), size);
}

} // namespace velmora
