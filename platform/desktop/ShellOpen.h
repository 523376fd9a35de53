#pragma once

#include <functional>
#include <string>

namespace velmora {

// Hands a link target ("http://…", "mailto:…"), Windows-1252 text, to the
// desktop, as the verb "open" did. Returns false when nothing could open it.
bool ShellOpen(const std::string& target);

using ShellOpenHandler = std::function<bool(const std::string& target)>;

// Replaces what ShellOpen does (tests catch the targets this way) and returns
// the handler in place before; an empty handler restores the desktop's.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

} // namespace velmora
