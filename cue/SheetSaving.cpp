#include "SheetSaving.h"

#include "TextBuffer.h"

namespace velmora {

std::string BackupPathOf(const std::string& sheetPath) {
    return sheetPath + ".bak";
}

void WriteBackupOfLoadedSheet(const RepairState& state, RepairHost& host) {
    host.WriteBackup(BackupPathOf(state.CuePath), host.Buffer().LoadedBytes(), state.CuePath);
}

bool SheetChanges(const RepairState& state, RepairHost& host) {
    return state.WholeText != host.Buffer().LoadedBytes();
}

void SaveSheet(RepairState& state, RepairHost& host) {
    if (SheetChanges(state, host))
        host.WriteSheet(state.CuePath, state.WholeText);
}

} // namespace velmora
