#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// Whether a Monkey's Audio file (version 3.98 on, whose descriptor counts the bytes of each of its parts)
// holds all the bytes it counts; one that does not was cut, and the length TagLib would read from its
// header is then not believed. Nothing for a whole file or an older layout: TagLib reads those.
std::optional<LengthReading> ApeLength(ByteSource& stream);

} // namespace velmora
