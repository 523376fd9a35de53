#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The line breaks of a sheet as it lay on disk, in order, one character each: 'w' for CR LF, 'n' for a
// lone LF, 'r' for a lone CR. The repair works on CR LF text; these put each line's own break back, so
// a sheet is only written for what the repair changed.
using LineEnds = std::string;

LineEnds ReadLineEnds(std::string_view text);

// `crLfText` (whose only line breaks are CR LF) with its k-th break written as the k-th of `ends`. A
// break past the last of `ends` (a line the repair added) takes the break the sheet uses most, CR LF
// when it has none.
std::string WithLineEnds(std::string_view crLfText, const LineEnds& ends);

} // namespace velmora
