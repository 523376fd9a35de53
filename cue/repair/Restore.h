#pragma once

#include "cue/repair/RowReport.h"
#include "cue/storage/SheetStorage.h"

#include <string>
#include <vector>

namespace velmora {

enum class RestoreOutcome {
    Restored,
    // Neither a backup nor a record of moves: nothing was changed.
    NoBackup,
};

struct RestoreResult {
    RestoreOutcome Outcome = RestoreOutcome::NoBackup;
    // Set when the backup took the sheet's place.
    bool SheetRestored = false;
    // The files put back where they came from: From is where they lay beside the sheet.
    std::vector<PlannedMove> MovedBack;
};

// Takes back what repairs did to the sheet at `sheetPath`, through `storage`: moves every file its record
// lists back where it came from (the last move first), then writes the backup's bytes in place of the
// sheet (atomically, the sheet keeping its mode) and removes the backup and the record. A record that
// names anything but files below the sheet's folder is refused whole; a sheet that is a link is never
// written through. Every move is checked before the first is made, and a failure part way puts back
// what was moved. Throws Error naming the sheet when something cannot be read, moved or written.
RestoreResult RestoreSheet(const std::string& sheetPath, SheetStorage& storage);

} // namespace velmora
