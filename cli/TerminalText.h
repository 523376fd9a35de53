#pragma once

#include <string>
#include <string_view>

namespace velmora::fix {

// The text with every control character (codes below 32, and 127) written as "\xNN", so that a name
// printed on a terminal cannot move its cursor, clear it or change its colours.
std::string EscapeControls(std::string_view text);

} // namespace velmora::fix
