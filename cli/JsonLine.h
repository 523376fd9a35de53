#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::fix {

// A JSON string literal. Valid UTF-8 is kept; any other byte stands for the Windows-1252 character of
// that code, as sheets and their names are often written in it.
std::string JsonString(std::string_view text);

// A path as a JSON string that gives its bytes back: valid UTF-8 stays as it is, and every other byte
// 0xNN becomes the lone surrogate \udcNN, as file names that are no UTF-8 are carried through UTF-8
// text elsewhere (Python's "surrogateescape" reads them back into the same bytes).
std::string JsonPath(std::string_view path);

// {"sheet": ..., "row": ..., "outcome": ..., "message": ...} on one line, the sheet as JsonPath, absent
// values as null; `moreFields` (", \"name\": value" pairs) go before the closing brace.
std::string JsonLine(std::string_view sheet, const std::optional<std::string>& row, std::string_view outcome,
                     const std::optional<std::string>& message, std::string_view moreFields = {});

} // namespace velmora::fix
