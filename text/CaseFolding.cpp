#include "text/CaseFolding.h"

#include <array>
#include <cstddef>

namespace velmora {
namespace {

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
    CaseTables t;
    for (int c = 0; c < 256; ++c) {
        t.upper[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
        t.lower[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    }
    auto pair = [&t](int lowerCode, int upperCode) {
        t.upper[static_cast<std::size_t>(lowerCode)] = static_cast<unsigned char>(upperCode);
        t.lower[static_cast<std::size_t>(upperCode)] = static_cast<unsigned char>(lowerCode);
    };
    for (int c = 'a'; c <= 'z'; ++c) {
        pair(c, c - 32);
    }
    // à..þ pair with À..Þ, except ÷ (0xF7), which is no letter.
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            pair(c, c - 32);
        }
    }
    pair(0x9A, 0x8A); // š
    pair(0x9C, 0x8C); // œ
    pair(0x9E, 0x8E); // ž
    pair(0xFF, 0x9F); // ÿ
    return t;
}

constexpr CaseTables kTables = MakeCaseTables();

std::string UpperCopy(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = UpperCase1252(c);
    }
    return upper;
}

} // namespace

char UpperCase1252(char c) {
    return static_cast<char>(kTables.upper[static_cast<unsigned char>(c)]);
}

char LowerCase1252(char c) {
    return static_cast<char>(kTables.lower[static_cast<unsigned char>(c)]);
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view oldText, std::string_view newText) {
    if (oldText.empty() || text.empty()) {
        return std::string(text);
    }
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
