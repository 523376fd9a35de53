#include "cue/repair/SheetSaving.h"

#include "cue/text/TextBuffer.h"

namespace velmora {

std::string BackupPathOf(const std::string& sheetPath) {
    return sheetPath + ".bak";
}

void WriteBackupOfLoadedSheet(const RepairState& state, RepairHost& host) {
    host.Storage().WriteBackup(BackupPathOf(state.CuePath), host.Buffer().LoadedBytes(), state.CuePath);
}

bool SheetChanges(const RepairState& state, RepairHost& host) {
    return !host.Buffer().MatchesLoadedBytes(state.WholeText);
}

void SaveSheet(RepairState& state, RepairHost& host) {
    if (SheetChanges(state, host)) {
        host.Storage().WriteSheet(state.CuePath, host.Buffer().BytesForDisk(state.WholeText));
    }
}

} // namespace velmora
