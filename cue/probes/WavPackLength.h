#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <cstdint>
#include <optional>

namespace velmora {

// How many samples a WavPack file holds whole: the end of its last whole block, or the start of its last
// block when that one is cut, found by reading back from the end. Nothing when no block lies near the
// end.
std::optional<std::uint64_t> WavPackSamplesHeld(ByteSource& stream);

// The length a WavPack file's first block states, no more than the samples it holds. Nothing for a file
// that does not begin with a block, or whose rate is not one of the standard ones.
std::optional<LengthReading> WavPackLength(ByteSource& stream);

} // namespace velmora
