#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::fix {

// A JSON string literal. Valid UTF-8 is kept; any other byte stands for the Windows-1252 character of
// that code, as sheets and their names are often written in it.
std::string JsonString(std::string_view text);

// {"sheet": ..., "row": ..., "outcome": ..., "message": ...} on one line, absent values as null;
// `moreFields` (", \"name\": value" pairs) go before the closing brace.
std::string JsonLine(std::string_view sheet, const std::optional<std::string>& row, std::string_view outcome,
                     const std::optional<std::string>& message, std::string_view moreFields = {});

} // namespace velmora::fix
