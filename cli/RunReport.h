#pragma once

#include "cue/repair/RowReport.h"

#include <string>
#include <vector>

namespace velmora::fix {

// The JSON object of what a run did: {"encoding": ..., "repaired": [{"line", "from", "to", "rule",
// "moved", "chosen_for_length"}], "missing": [{"line", "name", "unwritable", "reason"}], "times":
// {"count", "lines"}, "misfits": [...]}. Names are given in UTF-8 whatever the sheet's encoding; "rule"
// is "chosen" for a file the user picked; "reason" is null when nothing was chosen;
// "chosen_for_length" is null unless the file's length decided among candidates.
std::string JsonReasons(const RowReport& report);

// The JSON array of the files too short for their times: [{"line" (of the FILE line), "name", "kind"
// ("audio" or "image"), "track", "index_line", "start", "length", "past", "text"}].
std::string JsonMisfits(const std::vector<LengthMisfit>& misfits, SheetEncoding encoding);

// The JSON array of the moves a run made or would make: [{"from": ..., "to": ...}].
std::string JsonMoves(const RowReport& report);

struct RecordedWrite;

// What a dry run would do: the unified diff of each sheet write (labelled `shownSheet`), then one
// "move FROM -> TO" line for each move. The diff's lines are the sheet's bytes, or with `inUtf8` the
// sheet read in its encoding.
std::string DryRunText(const std::string& shownSheet, const std::vector<RecordedWrite>& writes,
                       const RowReport& report, bool inUtf8 = false);

} // namespace velmora::fix
