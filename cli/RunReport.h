#pragma once

#include "cue/RowReport.h"

#include <string>

namespace velmora::fix {

// The JSON object of what a run did: {"encoding": ..., "repaired": [{"line", "from", "to", "rule",
// "moved"}], "missing": [{"line", "name", "unwritable"}], "times": {"count", "lines"}}. Names are given
// in UTF-8 whatever the sheet's encoding; "rule" is "chosen" for a file the user picked.
std::string JsonReasons(const RowReport& report);

// The JSON array of the moves a run made or would make: [{"from": ..., "to": ...}].
std::string JsonMoves(const RowReport& report);

// What a dry run would do to a sheet: the unified diff of the sheet, then one "move FROM -> TO" line
// for each move. The diff's lines are the sheet's bytes, or with `inUtf8` the sheet read in its encoding.
std::string DryRunText(const std::string& sheet, const RowReport& report, bool inUtf8 = false);

// One line on standard error for each chosen name that the sheet's encoding cannot hold.
std::string UnwritableNameLines(const std::string& sheet, const RowReport& report);

} // namespace velmora::fix
