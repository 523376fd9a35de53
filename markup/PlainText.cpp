#include "markup/PlainText.h"

#include "markup/MarkupEncoding.h"
#include "text/CaseFolding.h"

namespace velmora {
namespace {

// An unclosed section is kept: its text still shows, without its tags.
std::string RemoveHiddenSections(std::string_view text, std::string_view open, std::string_view close) {
    std::string out;
    out.reserve(text.size());
    std::size_t start;
    while ((start = text.find(open)) != std::string_view::npos) {
        const std::size_t end = text.find(close, start + open.size());
        if (end == std::string_view::npos) {
            break;
        }
        out.append(text.substr(0, start));
        text.remove_prefix(end + close.size());
    }
    out.append(text);
    return out;
}

std::string RemoveTags(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t open;
    while ((open = text.find('<')) != std::string_view::npos) {
        const std::size_t close = text.find('>', open);
        if (close == std::string_view::npos) {
            break;
        }
        out.append(text.substr(0, open));
        text.remove_prefix(close + 1);
    }
    out.append(text);
    return out;
}

} // namespace

std::string MarkupToPlainText(std::string_view markup) {
    const std::string breaks = ReplaceAllIgnoreCase(
        ReplaceAllIgnoreCase(WithoutEncodingMark(markup), "<BR>", "\r\n"), "<HR>", "\r\n");
    const std::string shown =
        RemoveHiddenSections(RemoveHiddenSections(breaks, "<z>", "</z>"), "<Z>", "</Z>");
    return RemoveTags(shown);
}

} // namespace velmora
