#pragma once

#include <string>

namespace velmora {

// Hands a link target ("http://…", "mailto:…"), Windows-1252 text, to the shell's verb "open". Returns
// false when nothing could open it.
bool ShellOpen(const std::string& target);

} // namespace velmora
