#include "markup/MarkupEntities.h"

#include "markup/MarkupText.h"

#include <array>
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

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           StartsWithIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace

// Every entity starts with "&" and ends with ";" and no replacement holds a ";", so two occurrences
// never overlap and the replacements commute: replacing round after round, first occurrence by first
// occurrence, ends in the same text as one scan that replaces each entity as soon as its ";" is
// written, including entities that a replacement completes. The scan is linear in the text.
std::string ReplaceTextEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c != ';') {
            continue;
        }
        for (const auto& [entity, replacement] : kTextEntities) {
            if (EndsWithIgnoreCase(out, entity)) {
                out.replace(out.size() - entity.size(), entity.size(), replacement);
                break;
            }
        }
    }
    return out;
}

std::string PrepareMarkup(std::string_view markup) {
    // Each step copies the whole text, so a step with nothing to do is skipped.
    std::string text =
        markup.find('&') == std::string_view::npos ? std::string(markup) : ReplaceTextEntities(markup);
    if (text.find("<#") != std::string::npos) {
        text = UnwrapFirstHashTag(text);
    }
    if (text.find('\r') != std::string::npos || text.find('\n') != std::string::npos) {
        text = ConvertLineBreaks(text, true);
    }
    return text;
}

std::string ReplaceRunEntities(std::string_view run) {
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
        if (!replaced) {
            out += run[i];
            ++i;
        }
    }
    return out;
}

} // namespace velmora
