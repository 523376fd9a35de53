#pragma once

#include "cue/repair/RowReport.h"
#include "cue/storage/SheetStorage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// "album.cue" keeps the record of its repairs (the files they moved, and the digest of the sheet they
// left) as "album.cue.moves", beside its backup.
std::string MoveRecordPathOf(const std::string& sheetPath);

// What a record says: the moves of the sheet's repairs, names relative to the sheet's folder, in the order
// they were made.
struct MoveRecord {
    std::vector<PlannedMove> Moves;
    // One a move: true once the move was made. A move is recorded before it is made and marked after,
    // so an unmarked one may or may not have been made; records from before the marks have none.
    std::vector<bool> Done;
    // SheetDigest of the sheet's bytes as the last repair left them, so that a restore can tell a sheet
    // edited since; records from before the digest have none.
    std::optional<std::string> Sheet;
};

// The record's bytes: a first line "Velmora moves", then for each move its source and its target, each
// as its length in bytes, a space, the name's bytes and a line break, so that any byte may be in a name,
// and "done" on a line of its own once it was made; last, "sheet " and the sheet's digest on a line.
std::string EncodeRecord(const MoveRecord& record);
// A record of `moves` without marks or digest, as records were first written.
std::string EncodeMoveRecord(const std::vector<PlannedMove>& moves);
// Nothing when the bytes are no record.
std::optional<MoveRecord> DecodeMoveRecord(std::string_view bytes);

// A digest of a sheet's bytes, as 16 hexadecimal digits: enough to tell an edited sheet from the one a
// repair left, which is all it is asked (whoever plants a record chooses its digest anyway).
std::string SheetDigest(std::string_view bytes);

// True when `name` may stand in a record: a relative name below the sheet's folder, "/" between its
// parts, none of them empty, "." or "..", and no "\" or ":" that another system would read as a
// folder or a drive.
bool IsRecordableName(std::string_view name);

// The record of the sheet at `sheetPath`, read through `storage`: empty when there is none. Throws Error
// naming the record when it cannot be read, is no record or lists a name IsRecordableName refuses, so
// that nothing is carried out or added to on the word of a record that we did not write.
MoveRecord ReadMoveRecord(SheetStorage& storage, const std::string& sheetPath);

// Notes in the record beside the sheet the digest of the bytes a repair is about to leave in it, before
// they are written: a restore then finds either these bytes or the backup's, and anything else was edited
// since. A sheet that is only rewritten gets a record of its digest alone, written as its backup is
// (with it, in a batch). A record we did not write is left alone; one that cannot be rewritten keeps its
// old digest.
void NoteSheetInRecord(SheetStorage& storage, const std::string& sheetPath, std::string_view sheetBytes);

} // namespace velmora
