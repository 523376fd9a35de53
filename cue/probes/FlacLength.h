#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// The length of a FLAC stream ("fLaC" at the start or after an ID3v2 tag): the count of samples in its
// STREAMINFO block, checked against where its last frame begins, found by reading back from the end. A
// stream that states no count (as an encoder writing to a pipe leaves it) is as long as its frames; one
// cut short is as long as the frames it still holds whole. Nothing when the file is no FLAC stream.
std::optional<LengthReading> FlacLength(ByteSource& stream);

} // namespace velmora
