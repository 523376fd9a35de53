#pragma once

#include "graphics/FontState.h"

#include <string>

namespace velmora {

// Hands a link target ("http://…", "mailto:…") to the shell's verb "open". The target is Windows-1252
// text, or UTF-8 when it comes from a markup text written in UTF-8. Returns false when nothing could
// open it.
bool ShellOpen(const std::string& target, TextEncoding encoding = TextEncoding::Windows1252);

} // namespace velmora
