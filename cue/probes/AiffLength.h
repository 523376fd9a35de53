#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// The length of the samples an AIFF file (or an uncompressed AIFF-C one) holds: the count in its COMM
// chunk, or fewer when its SSND chunk is cut short. Nothing for another layout, which TagLib reads.
std::optional<LengthReading> AiffLength(ByteSource& stream);

} // namespace velmora
