#include "markup/MarkupText.h"

#include "text/CaseFolding.h"

#include <cstdint>
#include <limits>

namespace velmora {
namespace {

struct LeadingInt {
    int Value = 0;
    bool Clean = false;
};

LeadingInt ReadLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // Accumulated as a negative number so that the most negative int is reachable.
    int value = 0;
    const int limit = negative ? std::numeric_limits<int>::min() : -std::numeric_limits<int>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value < (limit + digit) / 10) {
            return {negative ? value : -value, false};
        }
        value = value * 10 - digit;
    }
    return {negative ? value : -value, i > firstDigit && i == text.size()};
}

} // namespace

char UpperCaseAnsi(char c) {
    return UpperCase1252(c);
}

char LowerCaseAnsi(char c) {
    return LowerCase1252(c);
}

std::string UpperCaseAnsi(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = UpperCaseAnsi(c);
    }
    return result;
}

std::string LowerCaseAnsi(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = LowerCaseAnsi(c);
    }
    return result;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (UpperCaseAnsi(text[i]) != UpperCaseAnsi(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::size_t PosIgnoreCase(std::string_view needle, std::string_view haystack) {
    if (needle.empty() || needle.size() > haystack.size()) {
        return 0;
    }
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        if (StartsWithIgnoreCase(haystack.substr(i), needle)) {
            return i + 1;
        }
    }
    return 0;
}

int IntFromText(std::string_view text) {
    return ReadLeadingInt(text).Value;
}

std::optional<int> CleanIntFromText(std::string_view text) {
    const LeadingInt read = ReadLeadingInt(text);
    if (!read.Clean) {
        return std::nullopt;
    }
    return read.Value;
}

bool ReplaceFirstIgnoreCase(std::string_view needle, std::string_view replacement, std::string& text) {
    const std::size_t pos = PosIgnoreCase(needle, text);
    if (pos == 0) {
        return false;
    }
    text.replace(pos - 1, needle.size(), replacement);
    return true;
}

std::string UnwrapFirstHashTag(std::string_view text) {
    std::string result(text);
    const std::size_t open = result.find("<#");
    if (open == std::string::npos) {
        return result;
    }
    result.erase(open, 1);
    const std::size_t close = result.find('>', open);
    if (close != std::string::npos) {
        result.erase(close, 1);
    }
    return result;
}

std::string ConvertLineBreaks(std::string_view text, bool crToBreak) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == '\n') {
            continue;
        }
        if (c == '\r') {
            if (crToBreak) {
                result += "<BR>";
            }
            continue;
        }
        result += c;
    }
    return result;
}

} // namespace velmora
