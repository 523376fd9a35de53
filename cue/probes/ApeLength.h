#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// Whether a Monkey's Audio file holds all its frames: from version 3.98 on, all the bytes its descriptor
// counts for each of its parts; before, the start of its last frame, which its seek table gives, before
// the end. One that does not was cut, and the length TagLib would read from its header is then not
// believed. Nothing for a whole file: TagLib reads those. A cut inside the last frame of an older file
// goes unseen: nothing states where that frame ends.
std::optional<LengthReading> ApeLength(ByteSource& stream);

} // namespace velmora
