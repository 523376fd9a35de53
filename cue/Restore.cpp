#include "cue/Restore.h"

#include "cue/MoveRecord.h"
#include "cue/SheetSaving.h"
#include "cue/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "files/FileReading.h"
#include "files/FileStatus.h"
#include "files/TemporaryFile.h"

#include <cerrno>
#include <cstring>

namespace velmora {
namespace {

std::string CannotMoveBack(const PlannedMove& move, const std::string& why) {
    return "\"" + move.To + "\" cannot be moved back to \"" + move.From + "\": " + why;
}

// The moves still to be made back, last first; throws when one of them cannot be.
std::vector<PlannedMove> MovesToUndo(const std::vector<PlannedMove>& recorded, const std::string& sheetPath) {
    std::vector<PlannedMove> undo;
    for (auto move = recorded.rbegin(); move != recorded.rend(); ++move) {
        const EntryKind movedIn = EntryKindOf(move->To);
        const EntryKind origin = EntryKindOf(move->From);
        // Put back already, by hand or by a restore that was stopped.
        if (movedIn == EntryKind::Missing && origin == EntryKind::RegularFile) {
            continue;
        }
        if (movedIn != EntryKind::RegularFile) {
            throw Error(CannotMoveBack(*move, movedIn == EntryKind::Missing
                                                  ? "it is no longer there"
                                                  : "it is no longer a regular file"),
                        sheetPath);
        }
        if (origin != EntryKind::Missing) {
            throw Error(CannotMoveBack(*move, "that name is taken"), sheetPath);
        }
        undo.push_back(*move);
    }
    return undo;
}

void RemoveIfThere(const std::string& path, const std::string& sheetPath) {
    const std::error_code error = RemoveFile(path);
    if (error && error.value() != ENOENT) {
        throw Error("\"" + path + "\" cannot be removed: " + std::strerror(error.value()), sheetPath);
    }
}

} // namespace

RestoreResult RestoreSheet(const std::string& sheetPath) {
    const std::string backupPath = BackupPathOf(sheetPath);
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    RestoreResult result;
    std::optional<std::string> backup;
    std::optional<std::string> record;
    try {
        backup = ReadFileWhole(backupPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
        record = ReadFileWhole(recordPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
    } catch (const Error& error) {
        throw Error(error.what(), sheetPath);
    }
    if (!backup && !record) {
        return result;
    }
    std::vector<PlannedMove> recorded;
    if (record) {
        std::optional<std::vector<PlannedMove>> decoded = DecodeMoveRecord(*record);
        if (!decoded) {
            throw Error("\"" + recordPath + "\" is no record of moves", sheetPath);
        }
        recorded = std::move(*decoded);
    }
    for (const PlannedMove& move : MovesToUndo(recorded, sheetPath)) {
        if (const std::error_code error = MoveFileNoReplace(move.To, move.From)) {
            throw Error(CannotMoveBack(move, std::strerror(error.value())), sheetPath);
        }
        result.MovedBack.push_back(move);
    }
    if (backup) {
        try {
            WriteFileAtomically(sheetPath, *backup);
        } catch (const Error& error) {
            throw Error(error.what(), sheetPath);
        }
        result.SheetRestored = true;
    }
    // The sheet is back before its backup goes, so a stopped restore can be run again.
    RemoveIfThere(backupPath, sheetPath);
    RemoveIfThere(recordPath, sheetPath);
    SyncFolder(ContainingFolder(sheetPath));
    result.Outcome = RestoreOutcome::Restored;
    return result;
}

} // namespace velmora
