#include "cli/RestoreRun.h"

#include "cli/JsonLine.h"
#include "cli/PerSheetLines.h"
#include "cli/RunReport.h"
#include "cue/repair/Restore.h"
#include "cue/storage/FolderStorage.h"
#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

namespace velmora::fix {
namespace {

SheetLine RestoreOne(const std::string& path, EditedSheet edited) {
    SheetLine line;
    RestoreResult result;
    try {
        result = RestoreSheet(path, SystemStorage(), edited);
    } catch (const Error& error) {
        line.Outcome = "ERROR";
        line.Status = SomeFailed;
        line.Problems.push_back({0, ErrorBoxText(error.what())});
        return line;
    }
    if (result.Outcome == RestoreOutcome::NoBackup) {
        line.Outcome = "NO BACKUP";
        line.Status = SomeBad;
        line.Problems.push_back({0, Localized("no backup and no record of moves: nothing was put back")});
        return line;
    }
    if (result.Outcome == RestoreOutcome::ChangedSinceRepair) {
        line.Outcome = "CHANGED";
        line.Status = SomeBad;
        line.Problems.push_back({0, Localized("changed since the repair: nothing was put back (--force keeps "
                                              "its text aside and restores)")});
        return line;
    }
    line.Outcome = "RESTORED";
    if (!result.KeptEdited.empty()) {
        line.Problems.push_back({0, Localized("changed since the repair: its text was kept as \"%s\"",
                                              {std::string(FileNamePart(result.KeptEdited))})});
    }
    std::string moves = "[";
    for (const PlannedMove& move : result.MovedBack) {
        moves += (moves.size() > 1 ? ", " : "") + std::string("{\"from\": ") + JsonPath(move.To) +
                 ", \"to\": " + JsonPath(move.From) + "}";
    }
    line.Extra = ", \"sheet_restored\": " + std::string(result.SheetRestored ? "true" : "false") +
                 ", \"moved_back\": " + moves + "]";
    if (!result.KeptEdited.empty()) {
        line.Extra += ", \"kept_edited\": " + JsonPath(result.KeptEdited);
    }
    return line;
}

} // namespace

int RunRestore(const FixOptions& options, std::ostream& out, std::ostream& err) {
    const EditedSheet edited = options.Force ? EditedSheet::KeepAside : EditedSheet::Refuse;
    return PrintSheets(options, out, err, [&](const std::string& path) { return RestoreOne(path, edited); });
}

} // namespace velmora::fix
