#include "cue/text/LineEnds.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

std::string_view BreakOf(char end) {
    switch (end) {
    case 'n':
        return "\n";
    case 'r':
        return "\r";
    default:
        return "\r\n";
    }
}

char MostUsed(const LineEnds& ends) {
    const std::array<char, 3> kinds = {'w', 'n', 'r'};
    char most = 'w';
    std::ptrdiff_t mostCount = 0;
    for (const char kind : kinds) {
        const std::ptrdiff_t count = std::count(ends.begin(), ends.end(), kind);
        if (count > mostCount) {
            most = kind;
            mostCount = count;
        }
    }
    return most;
}

} // namespace

LineEnds ReadLineEnds(std::string_view text) {
    LineEnds ends;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ends += 'n';
        } else if (text[i] == '\r') {
            const bool pair = i + 1 < text.size() && text[i + 1] == '\n';
            ends += pair ? 'w' : 'r';
            i += pair ? 1 : 0;
        }
    }
    return ends;
}

std::string WithLineEnds(std::string_view crLfText, const LineEnds& ends) {
    if (ends.find_first_not_of('w') == LineEnds::npos) {
        return std::string(crLfText);
    }
    const char added = MostUsed(ends);
    std::string result;
    result.reserve(crLfText.size());
    std::size_t k = 0;
    std::size_t from = 0;
    for (std::size_t at = crLfText.find("\r\n"); at != std::string_view::npos;
         at = crLfText.find("\r\n", from)) {
        result.append(crLfText.substr(from, at - from));
        result.append(BreakOf(k < ends.size() ? ends[k] : added));
        ++k;
        from = at + 2;
    }
    result.append(crLfText.substr(from));
    return result;
}

} // namespace velmora
