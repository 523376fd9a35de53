#include "cue/repair/Restore.h"

#include "cue/repair/MoveRecord.h"
#include "cue/repair/Repair.h"
#include "cue/repair/SheetSaving.h"
#include "cue/text/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <cerrno>
#include <map>

namespace velmora {
namespace {

// A recorded move with both names made full paths from the sheet's folder.
struct MoveBack {
    std::string MovedIn;
    std::string Origin;
};

std::string CannotMoveBack(const MoveBack& move, const std::string& why) {
    return Localized("\"%s\" cannot be moved back to \"%s\": %s", {move.MovedIn, move.Origin, why});
}

// True when every folder on the way from `folder` to the entry `name` is a real folder, no link: a link
// there could lead out of the sheet's folder.
bool FoldersOnTheWayAreReal(SheetStorage& storage, const std::string& folder, const std::string& name) {
    for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
        if (storage.KindOf(folder + name.substr(0, slash)) != EntryKind::Folder) {
            return false;
        }
    }
    return true;
}

// What each name will hold once the moves planned so far are made back: the disk's answer until then.
class PlannedKinds {
public:
    explicit PlannedKinds(SheetStorage& storage) : storage_(storage) {}
    EntryKind Of(const std::string& path) {
        const auto planned = planned_.find(path);
        return planned != planned_.end() ? planned->second : storage_.KindOf(path);
    }
    void Plan(const MoveBack& move) {
        planned_[move.MovedIn] = EntryKind::Missing;
        planned_[move.Origin] = EntryKind::RegularFile;
    }

private:
    SheetStorage& storage_;
    std::map<std::string, EntryKind> planned_;
};

// The moves still to be made back, last first; throws, before anything is moved, when one of them
// cannot be. A move marked done is taken back unless its file is back at its origin already (a stopped
// restore). A move recorded and not marked may or may not have been made (a run stopped between the
// record and the move, or between the move and the mark), so the disk decides: the file at its new place
// and none at its origin is taken back, while a file still at its origin means it never moved, and both
// names stay as they are.
std::vector<MoveBack> MovesToUndo(SheetStorage& storage, const MoveRecord& recorded,
                                  const std::string& sheetPath) {
    const std::string folder(FolderPart(sheetPath));
    PlannedKinds kinds(storage);
    std::vector<MoveBack> undo;
    for (std::size_t i = recorded.Moves.size(); i-- > 0;) {
        const PlannedMove& move = recorded.Moves[i];
        const MoveBack back{folder + move.To, folder + move.From};
        if (!FoldersOnTheWayAreReal(storage, folder, move.To) ||
            !FoldersOnTheWayAreReal(storage, folder, move.From)) {
            throw Error(CannotMoveBack(back, Localized("a folder on its way is no folder of its own")),
                        sheetPath);
        }
        const bool markedDone = i < recorded.Done.size() && recorded.Done[i];
        const EntryKind movedIn = kinds.Of(back.MovedIn);
        const EntryKind origin = kinds.Of(back.Origin);
        if (origin == EntryKind::RegularFile && (movedIn == EntryKind::Missing || !markedDone)) {
            continue;
        }
        if (movedIn != EntryKind::RegularFile) {
            throw Error(CannotMoveBack(back, movedIn == EntryKind::Missing
                                                 ? Localized("it is no longer there")
                                                 : Localized("it is no longer a regular file")),
                        sheetPath);
        }
        if (origin != EntryKind::Missing) {
            throw Error(CannotMoveBack(back, Localized("that name is taken")), sheetPath);
        }
        kinds.Plan(back);
        undo.push_back(back);
    }
    return undo;
}

// Moves every file back, or, when one cannot go, puts those already moved where they were and throws.
void MoveAllBack(SheetStorage& storage, const std::vector<MoveBack>& undo, const std::string& sheetPath,
                 RestoreResult& result) {
    for (std::size_t done = 0; done < undo.size(); ++done) {
        const std::error_code error = storage.MoveFile(undo[done].MovedIn, undo[done].Origin);
        if (!error) {
            continue;
        }
        for (std::size_t i = done; i-- > 0;) {
            storage.MoveFile(undo[i].Origin, undo[i].MovedIn);
        }
        throw Error(CannotMoveBack(undo[done], SystemErrorText(error.value())), sheetPath);
    }
    for (const MoveBack& back : undo) {
        result.MovedBack.push_back({back.Origin, back.MovedIn});
    }
}

// True when a backup is to take the sheet's place and the sheet holds neither the bytes the repair left,
// by the record's digest, nor the backup's (a repair whose sheet was never written). Without a backup the
// sheet's text stays as it is: a run stopped before its backup was on disk never replaced the sheet.
bool EditedSinceRepair(SheetStorage& storage, const std::string& sheetPath, const MoveRecord& record,
                       const std::optional<std::string>& backup) {
    if (!record.Sheet || !backup) {
        return false;
    }
    const std::optional<std::string> current =
        storage.ReadFile(sheetPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
    return current && SheetDigest(*current) != *record.Sheet && current != backup;
}

// Keeps the sheet's text under the first free "NAME.edited" name, with the sheet's mode; its path.
std::string KeepEditedText(SheetStorage& storage, const std::string& sheetPath) {
    const std::optional<std::string> current =
        storage.ReadFile(sheetPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
    constexpr int kTries = 100;
    for (int i = 1; current && i <= kTries; ++i) {
        // Built by appending: the optimiser misreads a chain of concatenations here as overlapping copies.
        std::string edited = sheetPath;
        edited.append(".edited");
        if (i > 1) {
            edited.append(".").append(std::to_string(i));
        }
        if (storage.KindOf(edited) == EntryKind::Missing) {
            storage.WriteBackup(edited, *current, sheetPath);
            return edited;
        }
    }
    throw Error(
        Localized("\"%s\" was edited since the repair, and its text could not be kept aside: nothing was "
                  "put back",
                  {sheetPath}),
        sheetPath);
}

void RemoveIfThere(SheetStorage& storage, const std::string& path, const std::string& sheetPath) {
    const std::error_code error = storage.RemoveFile(path);
    if (error && error.value() != ENOENT) {
        throw Error(Localized("\"%s\" cannot be removed: %s", {path, SystemErrorText(error.value())}),
                    sheetPath);
    }
}

} // namespace

RestoreResult RestoreSheet(const std::string& sheetPath, SheetStorage& storage, EditedSheet edited) {
    const std::string backupPath = BackupPathOf(sheetPath);
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    storage.ConfineTo(std::string(FolderPart(sheetPath)));
    RestoreResult result;
    std::optional<std::string> backup;
    MoveRecord recorded;
    bool hasRecord = false;
    try {
        backup = storage.ReadFile(backupPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
        hasRecord = storage.KindOf(recordPath) != EntryKind::Missing;
        recorded = ReadMoveRecord(storage, sheetPath);
    } catch (const Error& error) {
        throw Error(error.what(), sheetPath);
    }
    if (!backup && !hasRecord) {
        return result;
    }
    // The backup takes the sheet's own place, never that of what a link points at.
    const EntryKind sheet = storage.KindOf(sheetPath);
    if (backup && sheet != EntryKind::RegularFile && sheet != EntryKind::Missing) {
        throw Error(Localized("\"%s\" is no regular file: nothing was put back", {sheetPath}), sheetPath);
    }
    const bool sheetEdited = EditedSinceRepair(storage, sheetPath, recorded, backup);
    if (sheetEdited && edited == EditedSheet::Refuse) {
        result.Outcome = RestoreOutcome::ChangedSinceRepair;
        return result;
    }
    const std::vector<MoveBack> undo = MovesToUndo(storage, recorded, sheetPath);
    // The edited text is safe on disk before anything else changes.
    if (sheetEdited) {
        result.KeptEdited = KeepEditedText(storage, sheetPath);
    }
    MoveAllBack(storage, undo, sheetPath, result);
    if (backup) {
        try {
            storage.WriteSheet(sheetPath, *backup);
        } catch (const Error& error) {
            for (auto back = undo.rbegin(); back != undo.rend(); ++back) {
                storage.MoveFile(back->Origin, back->MovedIn);
            }
            throw Error(error.what(), sheetPath);
        }
        result.SheetRestored = true;
    }
    // The sheet is back before its backup goes, so a stopped restore can be run again.
    RemoveIfThere(storage, backupPath, sheetPath);
    RemoveIfThere(storage, recordPath, sheetPath);
    if (const std::error_code error = storage.FlushFolder(std::string(FolderPart(sheetPath)))) {
        throw Error(CannotCreateMessage(sheetPath, error.value()), sheetPath);
    }
    result.Outcome = RestoreOutcome::Restored;
    return result;
}

} // namespace velmora
