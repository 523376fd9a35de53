#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// The length of the Vorbis or Opus stream of an Ogg file: the position of its last whole page, found by
// reading back from the end, so that a file cut short is as long as the pages it still holds whole.
// Nothing for another codec or a first page that is not one, which TagLib reads.
std::optional<LengthReading> OggLength(ByteSource& stream);

} // namespace velmora
