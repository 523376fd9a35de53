#pragma once

#include <functional>
#include <string>

namespace velmora {

// Hands a link target ("http://…", "mailto:…"), Windows-1252 text, to the shell's verb "open". Returns
// false when nothing could open it.
bool ShellOpen(const std::string& target);

using ShellOpenHandler = std::function<bool(const std::string& target)>;

// Replaces what ShellOpen does (tests catch the targets this way) and returns the handler in place
// before; an empty handler restores the shell's.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

} // namespace velmora
