#include "cue/repair/SheetSaving.h"

#include "cue/repair/MoveRecord.h"
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
        const std::string bytes = host.Buffer().BytesForDisk(state.WholeText);
        NoteSheetInRecord(host.Storage(), state.CuePath, bytes);
        host.Storage().WriteSheet(state.CuePath, bytes);
    }
}

} // namespace velmora
