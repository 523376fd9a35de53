#pragma once

#include "cue/repair/RowReport.h"
#include "cue/storage/SheetStorage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// "album.cue" keeps the record of the files its repairs moved as "album.cue.moves", beside its backup.
std::string MoveRecordPathOf(const std::string& sheetPath);

// The record's bytes: a first line "Velmora moves", then for each move its source and its target, each
// as its length in bytes, a space, the name's bytes and a line break, so that any byte may be in a name.
// Names are relative to the sheet's folder.
std::string EncodeMoveRecord(const std::vector<PlannedMove>& moves);
// Nothing when the bytes are no record.
std::optional<std::vector<PlannedMove>> DecodeMoveRecord(std::string_view bytes);

// True when `name` may stand in a record: a relative name below the sheet's folder, "/" between its
// parts, none of them empty, "." or "..", and no "\" or ":" that another system would read as a
// folder or a drive.
bool IsRecordableName(std::string_view name);

// The record of the sheet at `sheetPath`, read through `storage`: empty when there is none. Throws Error
// naming the record when it cannot be read, is no record or lists a name IsRecordableName refuses, so
// that nothing is carried out or added to on the word of a record that we did not write.
std::vector<PlannedMove> ReadMoveRecord(SheetStorage& storage, const std::string& sheetPath);

} // namespace velmora
