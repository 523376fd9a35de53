#include "markup/MarkupEntities.h"

#include "markup/MarkupText.h"
#include "text/Utf8Sequences.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

namespace velmora {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kTextEntities{{
    {"&amp;", "&&"},
    {"&quot;", "\""},
    {"&sect;", "\xA7"},
    {"&permil;", "\x89"},
    {"&reg;", "\xAE"},
    {"&copy;", "\xA9"},
    {"&para;", "\xB6"},
    {"&trade;", "\x99"},
    {"&euro;", "\x80"},
}};

// The same characters in UTF-8.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kUtf8TextEntities{{
    {"&amp;", "&&"},
    {"&quot;", "\""},
    {"&sect;", "\u00A7"},
    {"&permil;", "\u2030"},
    {"&reg;", "\u00AE"},
    {"&copy;", "\u00A9"},
    {"&para;", "\u00B6"},
    {"&trade;", "\u2122"},
    {"&euro;", "\u20AC"},
}};

// "&#" digits ";" or "&#x" hex digits ";" at the start of text: the character and the length written.
std::optional<std::pair<char32_t, std::size_t>> CharacterReference(std::string_view text) {
    if (text.size() < 4 || text.substr(0, 2) != "&#") {
        return std::nullopt;
    }
    const bool hex = text[2] == 'x' || text[2] == 'X';
    const std::size_t digits = hex ? 3 : 2;
    const std::size_t end = text.find(';', digits);
    // Seven hex or eight decimal digits hold every character with room to spare.
    if (end == std::string_view::npos || end == digits || end - digits > 8) {
        return std::nullopt;
    }
    std::uint32_t code = 0;
    const char* first = text.data() + digits;
    const char* last = text.data() + end;
    const auto [stop, error] = std::from_chars(first, last, code, hex ? 16 : 10);
    const bool character = code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (error != std::errc{} || stop != last || !character) {
        return std::nullopt;
    }
    return std::pair{static_cast<char32_t>(code), end + 1};
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           StartsWithIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace

// Every entity starts with "&" and ends with ";" and no replacement holds a ";", so two occurrences
// never overlap and the replacements commute: replacing round after round, first occurrence by first
// occurrence, ends in the same text as one scan that replaces each entity as soon as its ";" is
// written, including entities that a replacement completes. The scan is linear in the text.
std::string ReplaceTextEntities(std::string_view text, TextEncoding encoding) {
    const auto& entities = encoding == TextEncoding::Utf8 ? kUtf8TextEntities : kTextEntities;
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c != ';') {
            continue;
        }
        for (const auto& [entity, replacement] : entities) {
            if (EndsWithIgnoreCase(out, entity)) {
                out.replace(out.size() - entity.size(), entity.size(), replacement);
                break;
            }
        }
    }
    return out;
}

std::string PrepareMarkup(std::string_view markup, TextEncoding encoding) {
    // Each step copies the whole text, so a step with nothing to do is skipped.
    std::string text = markup.find('&') == std::string_view::npos ? std::string(markup)
                                                                  : ReplaceTextEntities(markup, encoding);
    if (text.find("<#") != std::string::npos) {
        text = UnwrapFirstHashTag(text);
    }
    if (text.find('\r') != std::string::npos || text.find('\n') != std::string::npos) {
        text = ConvertLineBreaks(text, true);
    }
    return text;
}

std::string ReplaceRunEntities(std::string_view run, TextEncoding encoding) {
    // The replacements hold no "&", so no new entity can appear and one scan does all three.
    constexpr std::array<std::pair<std::string_view, char>, 3> kRunEntities{{
        {"&nbsp;", ' '},
        {"&lt;", '<'},
        {"&gt;", '>'},
    }};
    std::string out;
    out.reserve(run.size());
    std::size_t i = 0;
    while (i < run.size()) {
        bool replaced = false;
        if (run[i] == '&') {
            for (const auto& [entity, replacement] : kRunEntities) {
                if (run.substr(i, entity.size()) == entity) {
                    out += replacement;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        const auto reference = !replaced && encoding == TextEncoding::Utf8 && run[i] == '&'
                                   ? CharacterReference(run.substr(i))
                                   : std::nullopt;
        if (reference) {
            out += EncodeUtf8(reference->first);
            i += reference->second;
            replaced = true;
        }
        if (!replaced) {
            out += run[i];
            ++i;
        }
    }
    return out;
}

} // namespace velmora
