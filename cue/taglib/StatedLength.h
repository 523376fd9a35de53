#pragma once

#include "cue/MediaLengths.h"
#include "cue/taglib/HeaderStream.h"

#include <optional>
#include <string_view>

namespace velmora {

// The length that a plain WAV (PCM samples in a data chunk) or FLAC file (the count in its STREAMINFO
// block) states in its header, read without setting up TagLib, which costs more than the read itself.
// Answers only for a file laid out as TagLib reads it without a doubt, and then with TagLib's answer;
// anything else (another format, an unusual chunk or block, a size that does not add up) gets nothing,
// and the caller asks TagLib. `path` gives the extension, as TagLib's choice of format goes by it first.
std::optional<AudioLength> StatedLength(HeaderStream& stream, std::string_view path);

} // namespace velmora
