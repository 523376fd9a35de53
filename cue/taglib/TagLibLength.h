#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/taglib/HeaderStream.h"

#include <optional>
#include <string>

namespace velmora {

// The length TagLib reads from the headers of the file open in `stream` (MP3, WAV, Ogg Vorbis and Opus,
// FLAC, MP4, WMA, MPC, APE, WavPack, AIFF), to the sample where the format counts samples.
std::optional<AudioLength> TagLibLength(HeaderStream& stream);

// The length TagLib reads in the file at `path`, through the bounded byte source, so that no more than
// ByteSource::kReadBudget bytes are read. Whether the length is plausible is the caller's to judge.
LengthReading TagLibLengthOf(const std::string& path);
// The same, of the file at `path` another reader holds open (see ReadOnlyFile).
LengthReading TagLibLengthOf(const std::string& path, std::intptr_t handle, std::uint64_t size);

} // namespace velmora
