#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// Whether a Musepack file still holds its end. Stream version 8: the seek table its header points to lies
// after the audio, and must be there whole. Version 7 states no byte counts, only its frames: each is
// followed by the length it states to the end of the last (in the first MiB; past that each frame still
// to come must hold at least its length). When the end is not there, the file was cut, and the length
// TagLib would read from the header is not believed. Nothing for a whole file, a version 8 file whose
// header points to no seek table, or another stream version: TagLib reads those.
std::optional<LengthReading> MpcLength(ByteSource& stream);

} // namespace velmora
