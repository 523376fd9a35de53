#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// The length of the samples a RIFF/WAVE file of PCM or float samples holds: its data chunk as far as the
// file holds it. A data size the header leaves open (0 or all ones, as a writer to a pipe leaves it) is
// read from the bytes present. Nothing for another layout or another coding, which TagLib reads.
std::optional<LengthReading> WavLength(ByteSource& stream);

} // namespace velmora
