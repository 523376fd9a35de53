#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One line of a text: where it starts and how long it is, without its line break.
struct LineSpan {
    std::size_t Start = 0;
    std::size_t Length = 0;
};

// Position of the first CR or LF at or after `from`; the text's length when there is none.
std::size_t FindLineBreak(std::string_view text, std::size_t from);

// Reads the lines of a text in order. Lines end at CR LF, a lone CR or a lone LF; an empty last line
// after a final line break is not one.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(LineSpan& line);

private:
    std::string_view text_;
    std::size_t next_ = 0;
};

std::vector<LineSpan> SplitLines(std::string_view text);

// The first line whose first word, after leading blanks, is `keyword` (case-sensitive).
std::optional<LineSpan> FindKeywordLine(std::string_view text, std::string_view keyword);

// The leading characters of a line whose codes are 32 or less.
std::string_view LeadingBlanks(std::string_view line);

// The text with `length` characters at `start` replaced by `replacement`; a zero length inserts.
std::string ReplaceSpan(std::string_view text, std::size_t start, std::size_t length,
                        std::string_view replacement);

} // namespace velmora
