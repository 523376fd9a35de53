#pragma once

#include "cue/lengths/MediaLengths.h"

namespace velmora::fix {

// The reader of lengths this build lends the engine, kept for the whole program: TagLib's on Linux; on
// Windows one that measures disc images only.
LengthReader* SystemLengthReader();

} // namespace velmora::fix
