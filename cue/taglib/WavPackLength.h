#pragma once

#include "cue/taglib/HeaderStream.h"

#include <cstdint>
#include <optional>

namespace velmora {

// How many samples a WavPack file holds whole: the end of its last whole block, or the start of its last
// block when that one is cut, found by reading back from the end. Nothing when no block lies near the
// end.
std::optional<std::uint64_t> WavPackSamplesHeld(HeaderStream& stream);

} // namespace velmora
