#pragma once

#include "cue/MediaLengths.h"

namespace velmora {

// Reads audio lengths from the files' headers with TagLib (MP3, WAV, Ogg Vorbis and Opus, FLAC, MP4,
// WMA, MPC, APE, WavPack, AIFF), to the sample where the format counts samples.
class TagLibLengthReader final : public LengthReader {
public:
    std::optional<AudioLength> AudioLengthOf(const std::string& path) override;
};

} // namespace velmora
