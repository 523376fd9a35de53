#pragma once

#include "cue/repair/Repair.h"

namespace velmora {

// Adds the row for a finished sheet (Good, Corrected or Bad) and remembers it as the current row.
RunOutcome AddOutcomeRow(RepairState& state, RepairHost& host, RunOutcome outcome);

} // namespace velmora
