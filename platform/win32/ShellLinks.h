#pragma once

#include "graphics/FontState.h"

#include <functional>
#include <string>

namespace velmora {

// Hands a link target ("http://…", "mailto:…") to the shell's verb "open". The target is Windows-1252
// text, or UTF-8 when it comes from a markup text written in UTF-8. Returns false when nothing could
// open it.
bool ShellOpen(const std::string& target, TextEncoding encoding = TextEncoding::Windows1252);

using ShellOpenHandler = std::function<bool(const std::string& target)>;

// Replaces what ShellOpen does (tests catch the targets this way) and returns the handler in place
// before; an empty handler restores the shell's.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

} // namespace velmora
