#include "cue/probes/ApeLength.h"

#include "cue/probes/HeaderBytes.h"

#include <array>

namespace velmora {
namespace {

// The first version whose descriptor counts its parts' bytes.
constexpr std::uint32_t kDescribedVersion = 3980;
constexpr std::size_t kDescriptorCounts = 36;

} // namespace

std::optional<LengthReading> ApeLength(ByteSource& stream) {
    std::array<unsigned char, kDescriptorCounts> descriptor{};
    if (!ReadExactly(stream, 0, descriptor) || Text(descriptor, 0, 4) != "MAC " ||
        LittleEndian(descriptor.data() + 4, 2) < kDescribedVersion) {
        return std::nullopt;
    }
    // The descriptor, header, seek table, the source's own header, the frames (in 64 bits) and what
    // follows them, in that order.
    const std::uint64_t frames = std::uint64_t{LittleEndian(descriptor.data() + 28, 4)} << 32 |
                                 LittleEndian(descriptor.data() + 24, 4);
    std::uint64_t stated = frames;
    for (const std::size_t at : {8, 12, 16, 20, 32}) {
        stated += LittleEndian(descriptor.data() + at, 4);
    }
    return stated > stream.Size() ? std::optional(ShorterThanItsHeader()) : std::nullopt;
}

} // namespace velmora
