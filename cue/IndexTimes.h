#pragma once

#include "RepairState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The platform's integer conversion: an optional sign, then decimal digits or hexadecimal digits after
// "$", "x" or "0x" (either case), nothing else, within the 32-bit signed range.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// "%.2d": at least two digits, a minus sign in front of them.
std::string FormatTimeField(std::int64_t value);

// Carries frames (75 to a second) into seconds and seconds into minutes; a valid time is never moved.
void CarryTime(std::int64_t& minutes, std::int64_t& seconds, std::int64_t& frames);

// Returns `text` with the time of every line holding "INDEX 01" rewritten; only that time on that line
// changes. Counts every changed time in state.CorrectionCount and leaves the last time in the state's
// time fields. Throws Error "'<field>' n'est pas une valeur entière correcte" for a field that is not an
// integer, before anything is changed. The 1-based numbers of the lines whose time changed go to
// `changedLines` when given.
std::string NormaliseIndexTimes(RepairState& state, std::string_view text,
                                std::vector<std::size_t>* changedLines = nullptr);

} // namespace velmora
