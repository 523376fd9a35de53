#pragma once

#include "cue/repair/Repair.h"

#include <string>

namespace velmora {

// "album.cue" keeps its backup as "album.cue.bak" beside it.
std::string BackupPathOf(const std::string& sheetPath);

// Backs up the sheet as it lies on disk (the buffer's loaded bytes), through the host.
void WriteBackupOfLoadedSheet(const RepairState& state, RepairHost& host);

// True when state.WholeText differs from the sheet's bytes on disk, so there is something to save.
bool SheetChanges(const RepairState& state, RepairHost& host);

} // namespace velmora
