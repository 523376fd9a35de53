#include "text/Windows1252.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t Windows1252ToUnicode(unsigned char code) {
    if (code >= 0x80 && code <= 0x9F) {
        return kHighControls[code - 0x80u];
    }
    return code;
}

std::u16string DecodeWindows1252(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char c : text) {
        result += Windows1252ToUnicode(static_cast<unsigned char>(c));
    }
    return result;
}

std::string EncodeWindows1252(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            result += static_cast<char>(c);
            continue;
        }
        const auto* found = std::find(kHighControls.begin(), kHighControls.end(), c);
        result +=
            found != kHighControls.end() ? static_cast<char>(0x80 + (found - kHighControls.begin())) : '?';
    }
    return result;
}

std::u16string DecodeSymbolFont(std::string_view text) {
    std::u16string result = DecodeWindows1252(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) == 0xB7) {
            result[i] = u'\u2022';
        }
    }
    return result;
}

} // namespace velmora
