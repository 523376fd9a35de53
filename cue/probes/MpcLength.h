#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// Whether a Musepack file of stream version 8 still holds its end: the seek table its header points to
// lies after the audio, and must be there whole. When it is not, the file was cut, and the length TagLib
// would read from the header is not believed. Nothing for a whole file, one whose header points to no
// seek table, or an older stream version: TagLib reads those.
std::optional<LengthReading> MpcLength(ByteSource& stream);

} // namespace velmora
