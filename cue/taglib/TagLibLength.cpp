#include "cue/taglib/TagLibLength.h"

#include "cue/taglib/HeaderStream.h"

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

namespace {

LengthReading TagLibLengthOf(ByteSource& bytes, const std::string& path) {
    if (!bytes.IsOpen()) {
        return {};
    }
    HeaderStream stream(bytes, path);
    const std::optional<AudioLength> length = TagLibLength(stream);
    if (bytes.WentTooDeep()) {
        return LengthReading::Unknown(ByteSource::kTooDeep);
    }
    return length ? LengthReading(*length) : LengthReading();
}

} // namespace

LengthReading TagLibLengthOf(const std::string& path) {
    ByteSource bytes(path);
    return TagLibLengthOf(bytes, path);
}

LengthReading TagLibLengthOf(const std::string& path, std::intptr_t handle, std::uint64_t size) {
    ByteSource bytes(handle, size);
    return TagLibLengthOf(bytes, path);
}

} // namespace velmora
