#include "cue/taglib/TagLibLengthReader.h"

#include "cue/taglib/BelievableLength.h"
#include "cue/taglib/StatedLength.h"
#include "cue/taglib/TagLibLength.h"
#include "cue/taglib/WavPackLength.h"

#include <algorithm>
#include <array>

// The format headers expect TagLib's own declarations first.
// clang-format off
#include <fileref.h>
#include <tstring.h>
#include <aiffproperties.h>
#include <apeproperties.h>
#include <flacproperties.h>
#include <wavpackproperties.h>
#include <wavproperties.h>
// clang-format on

namespace velmora {
namespace {

constexpr std::size_t kFirstBytes = 4096;

// The formats that count their samples give the exact length; the rest give milliseconds.
std::optional<std::uint64_t> SampleFrames(const TagLib::AudioProperties& properties) {
    if (const auto* wav = dynamic_cast<const TagLib::RIFF::WAV::Properties*>(&properties)) {
        return wav->sampleFrames();
    }
    if (const auto* flac = dynamic_cast<const TagLib::FLAC::Properties*>(&properties)) {
        return flac->sampleFrames();
    }
    if (const auto* aiff = dynamic_cast<const TagLib::RIFF::AIFF::Properties*>(&properties)) {
        return aiff->sampleFrames();
    }
    if (const auto* wavPack = dynamic_cast<const TagLib::WavPack::Properties*>(&properties)) {
        return wavPack->sampleFrames();
    }
    if (const auto* ape = dynamic_cast<const TagLib::APE::Properties*>(&properties)) {
        return ape->sampleFrames();
    }
    return std::nullopt;
}

} // namespace

std::optional<AudioLength> TagLibLength(HeaderStream& stream) {
    // Tags are not wanted, but TagLib reads them with the properties; Fast skips the scans that only
    // sharpen a bit rate.
    stream.seek(0);
    const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* properties = file.isNull() ? nullptr : file.audioProperties();
    if (properties == nullptr) {
        return std::nullopt;
    }
    const int rate = properties->sampleRate();
    const std::optional<std::uint64_t> samples = SampleFrames(*properties);
    if (samples && rate > 0) {
        return AudioLength{*samples, static_cast<std::uint32_t>(rate)};
    }
    const int milliseconds = properties->lengthInMilliseconds();
    if (milliseconds <= 0) {
        return std::nullopt;
    }
    return AudioLength{static_cast<std::uint64_t>(milliseconds), 1000};
}

LengthReading TagLibLengthReader::AudioLengthOf(const std::string& path) {
    HeaderStream stream(path);
    if (!stream.isOpen()) {
        return {};
    }
    // The pieces the probe read are kept for TagLib, so a file is opened and read once either way.
    // A file reserved and not yet written reads as zeros: TagLib would look for a header through all
    // of it.
    std::array<char, kFirstBytes> first{};
    const std::size_t firstRead = stream.ReadAt(0, first.data(), first.size());
    if (firstRead > 0 && std::all_of(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(firstRead),
                                     [](char c) { return c == 0; })) {
        return LengthReading::Unknown("it begins with zeros, not a header");
    }
    const std::string extension = LowerExtension(path);
    std::optional<LengthReading> reading = StatedLength(stream, path);
    if (!reading) {
        reading = LengthReading();
        if (std::optional<AudioLength> length = TagLibLength(stream)) {
            // TagLib takes a WavPack file's count of samples from its first block; the last one says
            // how many the file still holds.
            const std::optional<std::uint64_t> held =
                extension == "wv" ? WavPackSamplesHeld(stream) : length->Samples;
            if (held) {
                length->Samples = std::min(*held, length->Samples);
                reading = LengthReading(*length);
            } else {
                reading = LengthReading::Unknown("the file is shorter than its header says");
            }
        }
    }
    if (stream.WentTooDeep()) {
        return LengthReading::Unknown("its length lies deeper in the file than a header is read");
    }
    return Believable(std::move(*reading), extension, static_cast<std::uint64_t>(stream.length()));
}

} // namespace velmora
