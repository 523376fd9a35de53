#include "cue/text/CueText.h"

#include <cstddef>

namespace velmora {
namespace {

// 1-based position of the first occurrence; 0 when absent, or when either text is empty.
std::size_t Position(std::string_view marker, std::string_view text) {
    if (marker.empty() || text.empty()) {
        return 0;
    }
    const std::size_t found = text.find(marker);
    return found == std::string_view::npos ? 0 : found + 1;
}

// Copy with the forgiving index rules: below 1 counts as 1, past the end or a negative count is empty.
std::string Copy(std::string_view text, std::ptrdiff_t index, std::ptrdiff_t count) {
    if (index < 1) {
        index = 1;
    }
    const auto length = static_cast<std::ptrdiff_t>(text.size());
    if (index > length || count < 0) {
        return {};
    }
    const std::ptrdiff_t available = length - index + 1;
    return std::string(text.substr(static_cast<std::size_t>(index - 1),
                                   static_cast<std::size_t>(count < available ? count : available)));
}

} // namespace

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string StripThrough(std::string_view marker, std::string_view text) {
    const std::size_t p = Position(marker, text);
    if (p == 0) {
        return {};
    }
    return std::string(text.substr(p - 1 + marker.size()));
}

std::string StripThroughLast(std::string_view marker, std::string_view text) {
    std::string rest = StripThrough(marker, text);
    while (Position(marker, rest) != 0) {
        rest = StripThrough(marker, rest);
    }
    return rest;
}

std::string TextBefore(std::string_view marker, std::string_view text) {
    return Copy(text, 1, static_cast<std::ptrdiff_t>(Position(marker, text)) - 1);
}

std::string TextAfter(std::string_view marker, std::string_view text) {
    const std::size_t p = Position(marker, text);
    return Copy(text, static_cast<std::ptrdiff_t>(p + marker.size()),
                static_cast<std::ptrdiff_t>(text.size()));
}

std::string TextBetween(std::string_view startMarker, std::string_view endMarker, std::string_view text) {
    return TextBefore(endMarker, TextAfter(startMarker, text));
}

std::string ExtractField(std::string_view text, char delimiter, int n) {
    if (n < 0) {
        return {};
    }
    std::size_t seen = 0;
    const auto wanted = static_cast<std::size_t>(n);
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        if (text[i] != delimiter) {
            continue;
        }
        if (seen == wanted) {
            break;
        }
        ++seen;
        start = i + 1;
    }
    if (seen != wanted) {
        return {};
    }
    return Trim(text.substr(start, i - start));
}

} // namespace velmora
