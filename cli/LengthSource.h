#pragma once

#include "cue/lengths/MediaLengths.h"

namespace velmora::fix {

// The reader of lengths this build lends the engine, kept for the whole program: the project's own header
// probes, with TagLib for the other formats where the build has it.
LengthReader* SystemLengthReader();

} // namespace velmora::fix
