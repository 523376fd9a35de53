#pragma once

#include "cue/repair/RepairHost.h"
#include "cue/repair/RepairState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// How one run ended. Failures are not among them: they are thrown as Error.
enum class RunOutcome {
    Refused,   // a run was already in progress; nothing was done
    Good,      // row " => GOOD"
    Corrected, // row " => CORRECTED"
    Bad,       // row " => BAD"
    Cancelled, // image sheet whose file chooser was cancelled: no row
    Warning,   // not a ".cue" path: the warning box was shown
    Skipped,   // the sheet matched neither keyword set
};

// Repairs the sheet at state.CuePath. Refuses, and returns Refused, while another run is in progress.
// Throws Error when the sheet cannot be read, a time field is no integer or a file cannot be written.
RunOutcome traitementCUE(RepairState& state, RepairHost& host);

// Image sheet: makes sure the referenced image lies beside the sheet, moving a chosen file there.
RunOutcome fichierbinaire(RepairState& state, RepairHost& host);

// Audio sheet: repairs the FILE reference, asking for the file when it is missing, then normalises the
// times and saves.
RunOutcome fichiermp3(RepairState& state, RepairHost& host);

// Normalises the INDEX 01 times of state.WholeText, backs up the sheet as it lies on disk when the
// repair changes it, and adds the row. Nothing is written when a time cannot be converted.
RunOutcome traitementheures(RepairState& state, RepairHost& host);

// Writes state.WholeText to the sheet through the host, unless it holds the sheet's bytes already.
void SaveSheet(RepairState& state, RepairHost& host);

void AnimateProgress(RepairHost& host);
// Pumps events until `ms` milliseconds of the host's tick counter have passed; ends also when the
// counter wraps.
void Delay(RepairHost& host, std::uint32_t ms);

} // namespace velmora
