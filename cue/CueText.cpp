#include "CueText.h"

#include <array>
#include <cstddef>

namespace velmora {
namespace {

// 1-based position of the first occurrence; 0 when absent, or when either text is empty.
std::size_t Position(std::string_view marker, std::string_view text) {
    if (marker.empty() || text.empty())
        return 0;
    const std::size_t found = text.find(marker);
    return found == std::string_view::npos ? 0 : found + 1;
}

// Copy with the forgiving index rules: below 1 counts as 1, past the end or a negative count is empty.
std::string Copy(std::string_view text, std::ptrdiff_t index, std::ptrdiff_t count) {
    if (index < 1)
        index = 1;
    const auto length = static_cast<std::ptrdiff_t>(text.size());
    if (index > length || count < 0)
        return {};
    const std::ptrdiff_t available = length - index + 1;
    return std::string(text.substr(static_cast<std::size_t>(index - 1),
                                   static_cast<std::size_t>(count < available ? count : available)));
}

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
    // à..þ map to À..Þ, except ÷ (0xF7), which is no letter.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
    table[0x9A] = 0x8A; // š
    table[0x9C] = 0x8C; // œ
    table[0x9E] = 0x8E; // ž
    table[0xFF] = 0x9F; // ÿ
    return table;
}

constexpr std::array<unsigned char, 256> UpperTable = MakeUpperTable();

std::string UpperCopy(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = UpperCase1252(c);
    return upper;
}

} // namespace

char UpperCase1252(char c) {
    return static_cast<char>(UpperTable[static_cast<unsigned char>(c)]);
}

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

std::string StripThrough(std::string_view marker, std::string_view text) {
    const std::size_t p = Position(marker, text);
    if (p == 0)
        return {};
    return std::string(text.substr(p - 1 + marker.size()));
}

std::string StripThroughLast(std::string_view marker, std::string_view text) {
    std::string rest = StripThrough(marker, text);
    while (Position(marker, rest) != 0)
        rest = StripThrough(marker, rest);
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
    if (n < 0)
        return {};
    std::size_t seen = 0;
    const auto wanted = static_cast<std::size_t>(n);
    std::size_t start = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        if (text[i] != delimiter)
            continue;
        if (seen == wanted)
            break;
        ++seen;
        start = i + 1;
    }
    if (seen != wanted)
        return {};
    return Trim(text.substr(start, i - start));
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view oldText, std::string_view newText) {
    if (oldText.empty() || text.empty())
        return std::string(text);
    const std::string upperText = UpperCopy(text);
    const std::string upperOld = UpperCopy(oldText);
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t match = upperText.find(upperOld); match != std::string::npos;
         match = upperText.find(upperOld, from)) {
        result.append(text.substr(from, match - from));
        result.append(newText);
        from = match + oldText.size();
    }
    result.append(text.substr(from));
    return result;
}

} // namespace velmora
