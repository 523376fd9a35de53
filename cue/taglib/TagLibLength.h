#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/taglib/HeaderStream.h"

#include <optional>

namespace velmora {

// The length TagLib reads from the headers of the file open in `stream` (MP3, WAV, Ogg Vorbis and Opus,
// FLAC, MP4, WMA, MPC, APE, WavPack, AIFF), to the sample where the format counts samples.
std::optional<AudioLength> TagLibLength(HeaderStream& stream);

} // namespace velmora
