#include "cli/RestoreRun.h"

#include "cli/JsonLine.h"
#include "cli/PerSheetLines.h"
#include "cli/RunReport.h"
#include "cue/repair/Restore.h"
#include "cue/storage/FolderStorage.h"
#include "errors/ErrorMessages.h"

namespace velmora::fix {
namespace {

SheetLine RestoreOne(const std::string& path) {
    SheetLine line;
    RestoreResult result;
    try {
        result = RestoreSheet(path, SystemStorage());
    } catch (const Error& error) {
        line.Outcome = "ERROR";
        line.Status = SomeFailed;
        line.Problems.push_back({0, ErrorBoxText(error.what())});
        return line;
    }
    if (result.Outcome == RestoreOutcome::NoBackup) {
        line.Outcome = "NO BACKUP";
        line.Status = SomeBad;
        line.Problems.push_back({0, "no backup and no record of moves: nothing was put back"});
        return line;
    }
    line.Outcome = "RESTORED";
    std::string moves = "[";
    for (const PlannedMove& move : result.MovedBack) {
        moves += (moves.size() > 1 ? ", " : "") + std::string("{\"from\": ") + JsonPath(move.To) +
                 ", \"to\": " + JsonPath(move.From) + "}";
    }
    line.Extra = ", \"sheet_restored\": " + std::string(result.SheetRestored ? "true" : "false") +
                 ", \"moved_back\": " + moves + "]";
    return line;
}

} // namespace

int RunRestore(const FixOptions& options, std::ostream& out, std::ostream& err) {
    return PrintSheets(options, out, err, RestoreOne);
}

} // namespace velmora::fix
