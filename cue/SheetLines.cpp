#include "SheetLines.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::vector<LineSpan> SplitLines(std::string_view text) {
    std::vector<LineSpan> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineBreak = text.find_first_of("\r\n", start);
        if (lineBreak == std::string_view::npos) {
            lines.push_back({start, text.size() - start});
            break;
        }
        lines.push_back({start, lineBreak - start});
        start = lineBreak + 1;
        if (text[lineBreak] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string_view LeadingBlanks(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && IsBlank(line[n]))
        ++n;
    return line.substr(0, n);
}

std::optional<LineSpan> FindKeywordLine(std::string_view text, const std::vector<LineSpan>& lines,
                                        std::string_view keyword) {
    for (const LineSpan& span : lines) {
        std::string_view line = text.substr(span.Start, span.Length);
        line.remove_prefix(LeadingBlanks(line).size());
        if (line.substr(0, keyword.size()) != keyword)
            continue;
        if (line.size() == keyword.size() || IsBlank(line[keyword.size()]) || line[keyword.size()] == '"')
            return span;
    }
    return std::nullopt;
}

std::string ApplyEdits(std::string_view text, const std::vector<TextEdit>& edits) {
    std::string result;
    result.reserve(text.size() + edits.size() * 4);
    std::size_t from = 0;
    for (const TextEdit& edit : edits) {
        result.append(text.substr(from, edit.Start - from));
        result.append(edit.Replacement);
        from = edit.Start + edit.Length;
    }
    result.append(text.substr(from));
    return result;
}

} // namespace velmora
