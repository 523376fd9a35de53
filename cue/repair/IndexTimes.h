#pragma once

#include "cue/repair/RepairState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A field of a time: decimal digits only, within the 32-bit signed range.
// Where the time of a timed line lies: the third word of an "INDEX nn mm:ss:ff" line, the second of a
// "PREGAP" or "POSTGAP" line (words separated by spaces or tabs, keywords in capitals); nothing for any
// other line. The span is empty when the time is missing.
std::optional<std::pair<std::size_t, std::size_t>> TimeSpanOf(std::string_view line);

// Returns `text` with every INDEX, PREGAP and POSTGAP time rewritten; only that time on that line
// changes, and text after it stays. Counts every changed time in state.CorrectionCount and leaves the
// last time in the state's time fields. A time is three fields of digits; anything else throws Error
// "'<field>' n'est pas une valeur entière correcte" (a fourth field shows with the third, "3:4") with
// the sheet and the line, before anything is changed. The 1-based numbers of the lines whose time
// changed go to `changedLines` when given.
std::string NormaliseIndexTimes(RepairState& state, std::string_view text,
                                std::vector<std::size_t>* changedLines = nullptr);

// Throws the error that a repair of the sheet `text` at `path` stops at while reading its times, if
// any, so that a check never passes times a repair refuses. A repair reads the times of audio sheets
// only: those whose text holds AUDIO, PERFORMER and TITLE.
void ReadTimesAsARepairDoes(const std::string& path, std::string_view text);

} // namespace velmora
