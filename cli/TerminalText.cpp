#include "cli/TerminalText.h"

#include <cstdio>

namespace velmora::fix {

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code != 0x7F) {
            out += c;
            continue;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02x", code);
        out += escape;
    }
    return out;
}

} // namespace velmora::fix
