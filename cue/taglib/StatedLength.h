#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/taglib/HeaderStream.h"

#include <optional>
#include <string_view>

namespace velmora {

// The length a WAV, FLAC, MP3, Ogg or AIFF file (by the extension of `path`, as TagLib's choice of format
// goes by it first) holds, read by the project's own header probes, which check what a header states against
// the bytes the file holds and cost less than setting up TagLib. Nothing for a file they do not know, which
// is TagLib's to read.
std::optional<LengthReading> StatedLength(HeaderStream& stream, std::string_view path);

} // namespace velmora
