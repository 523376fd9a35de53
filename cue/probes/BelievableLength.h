#pragma once

#include "cue/lengths/MediaLengths.h"

#include <cstdint>
#include <string_view>

namespace velmora {

// `reading` when its length is plausible for a file of `fileBytes` bytes of the format its extension
// names (the bits a second it makes lie within what that format's encoders write); otherwise no length,
// and why. A header can claim anything: random bytes named ".mpc" read as ten hours, and an MP3 whose
// header claims one frame as a fiftieth of a second.
LengthReading Believable(LengthReading reading, std::string_view extension, std::uint64_t fileBytes);

// The extension of `path` in lower case, without its dot; empty when there is none.
std::string LowerExtension(std::string_view path);

} // namespace velmora
