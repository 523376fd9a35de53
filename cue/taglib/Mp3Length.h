#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/taglib/HeaderStream.h"

#include <optional>

namespace velmora {

// The length an MPEG Layer III file states in the Xing or Info header of its first frame (the count of
// frames its encoder wrote), in milliseconds as TagLib gives it, checked against the bytes the file
// still holds: a constant bit rate file cut short is as long as its bytes, any other is not believed.
// Only for a first frame right at the start or right after an ID3v2 tag, followed by a frame of the same
// kind; anything else gets nothing, and is TagLib's.
std::optional<LengthReading> Mp3Length(HeaderStream& stream);

} // namespace velmora
