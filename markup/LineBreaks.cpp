#include "markup/LineBreaks.h"

#include "text/Utf8Sequences.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

// The first "<", or the first space where words wrap, or the end. The search runs in windows that
// double, each scanned for both characters at memory speed, so it reads about as far as the run goes
// and never the whole text after it.
std::size_t TagOrSpace(std::string_view text, bool wordWrap) {
    std::size_t from = 0;
    for (std::size_t window = 64; from < text.size(); window *= 2) {
        const std::string_view part = text.substr(from, window);
        std::size_t stop = part.find('<');
        if (wordWrap) {
            stop = std::min(stop, part.find(' '));
        }
        if (stop != std::string_view::npos) {
            return from + stop;
        }
        from += part.size();
    }
    return text.size();
}

// Han ideographs, kana, and the punctuation, symbols and full-width forms that go with them.
bool IsIdeographic(char32_t c) {
    return (c >= 0x2E80 && c <= 0x2FFF) || // radicals, ideographic description
           (c >= 0x3000 && c <= 0x30FF) || // CJK punctuation, hiragana, katakana
           (c >= 0x3100 && c <= 0x31FF) || // bopomofo, kanbun, katakana extensions
           (c >= 0x3400 && c <= 0x4DBF) || // extension A
           (c >= 0x4E00 && c <= 0x9FFF) || // unified ideographs
           (c >= 0xF900 && c <= 0xFAFF) || // compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) || // compatibility forms
           (c >= 0xFF00 && c <= 0xFFEF) || // full-width and half-width forms
           (c >= 0x20000 && c <= 0x3FFFF); // supplementary ideographs
}

// Characters that never start a line: closing brackets and punctuation, small kana, iteration and
// prolonged sound marks.
bool NeverStartsALine(char32_t c) {
    constexpr std::u32string_view kClosing = U")]}>.,:;!?%\u2019\u201D\u2026\u2030"
                                             U"\u3001\u3002\u3005\u3009\u300B\u300D\u300F\u3011\u3015\u3017"
                                             U"\u3019\u301B\u301E\u301F\u303B\u309D\u309E\u30A0\u30FB\u30FC"
                                             U"\u30FD\u30FE\uFF01\uFF05\uFF09\uFF0C\uFF0E\uFF1A\uFF1B\uFF1F"
                                             U"\uFF3D\uFF5D\uFF60\uFF61\uFF63\uFF64";
    constexpr std::u32string_view kSmallKana = U"\u3041\u3043\u3045\u3047\u3049\u3063\u3083\u3085\u3087"
                                               U"\u308E\u3095\u3096\u30A1\u30A3\u30A5\u30A7\u30A9\u30C3"
                                               U"\u30E3\u30E5\u30E7\u30EE\u30F5\u30F6";
    return kClosing.find(c) != std::u32string_view::npos || kSmallKana.find(c) != std::u32string_view::npos ||
           (c >= 0x31F0 && c <= 0x31FF);
}

// Opening brackets and quotes, which stay with what follows them.
bool NeverEndsALine(char32_t c) {
    constexpr std::u32string_view kOpening = U"([{<\u2018\u201C\u3008\u300A\u300C\u300E\u3010\u3014\u3016"
                                             U"\u3018\u301A\u301D\uFF08\uFF3B\uFF5B\uFF5F\uFF62";
    return kOpening.find(c) != std::u32string_view::npos;
}

std::size_t Utf8RunStop(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == '<' || text[at] == ' ') {
            return at;
        }
        const Utf8Character here = FirstUtf8Character(text.substr(at));
        const std::size_t next = at + here.Length;
        if (next < text.size() &&
            MayBreakBetween(here.Code, FirstUtf8Character(text.substr(next)).Code, TextEncoding::Utf8)) {
            return next;
        }
        at = next;
    }
    return text.size();
}

} // namespace

std::size_t RunStop(std::string_view text, bool wordWrap, TextEncoding encoding) {
    return wordWrap && encoding == TextEncoding::Utf8 ? Utf8RunStop(text) : TagOrSpace(text, wordWrap);
}

char32_t FirstCharacter(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? FirstUtf8Character(text).Code
                                          : static_cast<unsigned char>(text.front());
}

char32_t LastCharacter(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? LastUtf8Character(text).Code
                                          : static_cast<unsigned char>(text.back());
}

bool MayBreakBetween(char32_t before, char32_t after, TextEncoding encoding) {
    if (before == U' ') {
        return true;
    }
    if (encoding != TextEncoding::Utf8 || after == U' ') {
        return false;
    }
    return (IsIdeographic(before) || IsIdeographic(after)) && !NeverEndsALine(before) &&
           !NeverStartsALine(after);
}

} // namespace velmora
