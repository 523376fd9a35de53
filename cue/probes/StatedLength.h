#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"

#include <optional>
#include <string_view>

namespace velmora {

// The length a WAV, FLAC, MP3, Ogg, AIFF or WavPack file (by the extension of `path`) holds, read by the
// project's own header probes, which check what a header states against the bytes the file holds; for
// MP4, Musepack and Monkey's Audio files, only whether they were cut short. Nothing for a file they do not
// know or leave whole, which is left to the reader of other formats.
std::optional<LengthReading> StatedLength(ByteSource& stream, std::string_view path);

} // namespace velmora
