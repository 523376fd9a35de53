#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// Length of the valid UTF-8 sequence at the start of `text` (not empty): overlong forms, surrogates and
// cut sequences are none, so 0.
std::size_t Utf8SequenceLength(std::string_view text);

} // namespace velmora
