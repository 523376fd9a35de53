#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// The length of an MPEG Layer III file, in milliseconds. Its first frame is looked for after an ID3v2
// tag, past a little junk but not through a whole file. The frames counted in a Xing, Info or VBRI header
// are checked against the bytes the file still holds: a constant bit rate file cut short is as long as
// its bytes, any other is not believed. A file no header counts is as long as its bytes at its bit rate,
// when its first frames keep one. No length, with the reason, when no frame lies near the start.
std::optional<LengthReading> Mp3Length(ByteSource& stream);

} // namespace velmora
