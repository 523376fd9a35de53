#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Letters a-z only; every other byte stays as it is.
std::string UpperAscii(std::string_view text);

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

} // namespace velmora
