#pragma once

#include "cue/RepairHost.h"
#include "cue/RowReport.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// "album.cue" keeps the record of the files its repairs moved as "album.cue.moves", beside its backup.
std::string MoveRecordPathOf(const std::string& sheetPath);

// The record's bytes: a first line "Velmora moves", then for each move its source and its target, each
// as its length in bytes, a space, the path's bytes and a line break, so that any byte may be in a path.
std::string EncodeMoveRecord(const std::vector<PlannedMove>& moves);
// Nothing when the bytes are no record.
std::optional<std::vector<PlannedMove>> DecodeMoveRecord(std::string_view bytes);

// Adds `moves` to the sheet's record, after those an earlier repair recorded, through the host.
void RecordMoves(const std::string& sheetPath, const std::vector<PlannedMove>& moves, RepairHost& host);

} // namespace velmora
