#include "controls/core/MarkupLinks.h"

#include "markup/MarkupTags.h"
#include "markup/PlainText.h"

namespace velmora {

std::vector<std::string> AnchorTexts(std::string_view markup) {
    std::vector<std::string> texts;
    std::size_t at = markup.find('<');
    while (at != std::string_view::npos) {
        const std::string_view rest = markup.substr(at);
        const std::string_view tag = TagText(rest);
        if (ClassifyTag(rest) != TagKind::Anchor) {
            at = markup.find('<', at + 1);
            continue;
        }
        const std::size_t start = at + tag.size();
        std::size_t end = markup.find('<', start);
        while (end != std::string_view::npos && ClassifyTag(markup.substr(end)) != TagKind::EndAnchor) {
            end = markup.find('<', end + 1);
        }
        const std::string_view inside =
            start >= markup.size()
                ? std::string_view()
                : markup.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        texts.push_back(MarkupToPlainText(inside));
        at = end == std::string_view::npos ? end : markup.find('<', end + 1);
    }
    return texts;
}

} // namespace velmora
