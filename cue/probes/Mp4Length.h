#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>

namespace velmora {

// Whether an MP4 file still holds all it says: the boxes at its top level, walked from its start by their
// headers alone, must each end within the file. One that runs past its end was cut, and the length TagLib
// would read from the stream's description is then not believed. Nothing for a whole file, or one that
// does not begin with an "ftyp" box: TagLib reads those.
std::optional<LengthReading> Mp4Length(ByteSource& stream);

} // namespace velmora
