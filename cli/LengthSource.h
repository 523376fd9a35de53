#pragma once

#include "cue/MediaLengths.h"

namespace velmora::fix {

// The reader of audio lengths this build lends the engine, kept for the whole program; null where the
// build has none, and then no length is checked.
LengthReader* SystemLengthReader();

} // namespace velmora::fix
