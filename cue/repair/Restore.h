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
    // The sheet is neither what the last repair left nor its backup: edited since, so nothing was
    // changed.
    ChangedSinceRepair,
};

// What a restore does with a sheet edited since the repair.
enum class EditedSheet {
    Refuse,
    // Keeps its text as "NAME.cue.edited" (or the first of "NAME.cue.edited.2", ".3"... that is free,
    // never replacing one) and restores.
    KeepAside,
};

struct RestoreResult {
    RestoreOutcome Outcome = RestoreOutcome::NoBackup;
    // Set when the backup took the sheet's place.
    bool SheetRestored = false;
    // The files put back where they came from: From is where they lay beside the sheet.
    std::vector<PlannedMove> MovedBack;
    // Where an edited sheet's text was kept; empty when none was.
    std::string KeptEdited;
};

// Takes back what repairs did to the sheet at `sheetPath`, through `storage`: moves every file its record
// lists back where it came from (the last move first), then writes the backup's bytes in place of the
// sheet (atomically, the sheet keeping its mode) and removes the backup and the record. A record that
// names anything but files below the sheet's folder is refused whole; a sheet that is a link is never
// written through. A move marked done is taken back; one recorded but not marked is taken back only when
// the disk shows it made (its file at the new place, none at its origin). Every move is checked before the
// first is made, and a failure part way puts back what was moved. A record that holds the digest of the sheet
// the repair left tells a sheet edited since, which `edited` decides about; older records restore as ever.
// Throws Error naming the sheet when something cannot be read, moved or written.
RestoreResult RestoreSheet(const std::string& sheetPath, SheetStorage& storage,
                           EditedSheet edited = EditedSheet::Refuse);

} // namespace velmora
