#include "cue/text/SheetLines.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::size_t FindLineBreak(std::string_view text, std::size_t from) {
    // A plain loop: find_first_of searches the set of two for every character.
    while (from < text.size() && text[from] != '\r' && text[from] != '\n') {
        ++from;
    }
    return from;
}

bool LineReader::Next(LineSpan& line) {
    if (next_ >= text_.size()) {
        return false;
    }
    const std::size_t lineBreak = FindLineBreak(text_, next_);
    if (lineBreak == text_.size()) {
        line = {next_, text_.size() - next_};
        next_ = text_.size();
        return true;
    }
    line = {next_, lineBreak - next_};
    next_ = lineBreak + 1;
    if (text_[lineBreak] == '\r' && next_ < text_.size() && text_[next_] == '\n') {
        ++next_;
    }
    return true;
}

std::vector<LineSpan> SplitLines(std::string_view text) {
    std::vector<LineSpan> lines;
    LineReader reader(text);
    for (LineSpan line; reader.Next(line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string_view LeadingBlanks(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && IsBlank(line[n])) {
        ++n;
    }
    return line.substr(0, n);
}

std::optional<LineSpan> FindKeywordLine(std::string_view text, std::string_view keyword) {
    LineReader reader(text);
    for (LineSpan span; reader.Next(span);) {
        std::string_view line = text.substr(span.Start, span.Length);
        line.remove_prefix(LeadingBlanks(line).size());
        if (line.substr(0, keyword.size()) != keyword) {
            continue;
        }
        if (line.size() == keyword.size() || IsBlank(line[keyword.size()]) || line[keyword.size()] == '"') {
            return span;
        }
    }
    return std::nullopt;
}

std::string ReplaceSpan(std::string_view text, std::size_t start, std::size_t length,
                        std::string_view replacement) {
    std::string result;
    result.reserve(text.size() - length + replacement.size());
    result.append(text.substr(0, start));
    result.append(replacement);
    result.append(text.substr(start + length));
    return result;
}

} // namespace velmora
