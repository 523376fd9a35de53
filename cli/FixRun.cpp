#include "cli/FixRun.h"

#include "cli/CheckRun.h"
#include "cli/DryRunHost.h"
#include "cli/JsonLine.h"
#include "cli/LengthSource.h"
#include "cli/RestoreRun.h"
#include "cli/RunReport.h"
#include "cli/SheetPaths.h"
#include "cli/TerminalText.h"
#include "messages/Messages.h"

#include <algorithm>
#include <map>
#include <memory>

namespace velmora::fix {
namespace {

struct SheetResult {
    std::optional<std::string> Row;
    std::string Outcome;
    // Why, for standard error and the JSON "message": a warning, an error, what stays missing.
    std::optional<std::string> Message;
    // Where the error lies, for the "velmora-fix: PATH:LINE: " prefix; 0 for the sheet as a whole.
    std::size_t Line = 0;
    bool PrefixedWithSheet = true;
    int Status = AllFine;
};

SheetResult ResultOf(RunOutcome outcome, const TerminalHost& host, const RowReport& report, bool verbose) {
    SheetResult result;
    if (!host.Rows().empty()) {
        result.Row = host.Rows().back();
    }
    switch (outcome) {
    case RunOutcome::Good:
        result.Outcome = "GOOD";
        break;
    case RunOutcome::Corrected:
        result.Outcome = "CORRECTED";
        break;
    case RunOutcome::Bad:
    case RunOutcome::Cancelled:
        // An image left missing has no row in the window, but its sheet is no less bad.
        result.Outcome = "BAD";
        result.Message = RowReasonsText(report);
        result.Status = SomeBad;
        break;
    case RunOutcome::Skipped:
        result.Outcome = "SKIPPED";
        break;
    case RunOutcome::Warning:
    case RunOutcome::Refused:
        result.Outcome = "WARNING";
        result.Status = SomeBad;
        // The warning names the sheet itself.
        result.PrefixedWithSheet = false;
        if (!host.Warnings().empty()) {
            result.Message = host.Warnings().back();
        }
        break;
    }
    // A file too short for its times leaves the outcome as it is, but is never passed over in silence.
    if (!result.Message && result.Row && (verbose || !report.Misfits.empty())) {
        result.Message = RowReasonsText(report);
    }
    return result;
}

SheetResult ErrorResult(const std::exception& error, const TerminalHost& host) {
    SheetResult result;
    if (!host.Rows().empty()) {
        result.Row = host.Rows().back();
    }
    result.Outcome = "ERROR";
    result.Message = ErrorBoxText(error.what());
    if (const auto* failure = dynamic_cast<const Error*>(&error)) {
        result.Line = failure->LineNumber();
    }
    result.Status = SomeFailed;
    return result;
}

SheetResult LinkSkipped() {
    SheetResult result;
    result.Outcome = "SKIPPED";
    result.Message = Localized("is a link");
    return result;
}

// "velmora-fix: PATH:LINE: message", escaped for the terminal.
std::string ErrorLine(const std::string& shown, const SheetResult& result) {
    std::string line = "velmora-fix: ";
    if (result.PrefixedWithSheet) {
        line += shown;
        if (result.Line != 0) {
            line += ':';
            line += std::to_string(result.Line);
        }
        line += ": ";
    }
    return EscapeControls(line + *result.Message) + "\n";
}

// "[3/2000] path" on a terminal, rewritten in place and wiped before anything else is printed.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
    void Show(std::size_t done, std::size_t total, const std::string& sheet) {
        if (shown_) {
            err_ << "\r\033[K[" << done << "/" << total << "] " << EscapeControls(sheet) << std::flush;
        }
    }
    void Wipe() {
        if (shown_) {
            err_ << "\r\033[K" << std::flush;
        }
    }

private:
    std::ostream& err_;
    bool shown_;
};

// A sheet's lines, held until its writes are on disk.
struct PendingSheet {
    std::string Shown;
    SheetResult Result;
    // The JSON fields after "message", or the dry run's text before the line.
    std::string Extra;
};

// Prints each held sheet in order; a sheet whose writes failed to go in place ends as an error.
int PrintSheets(std::vector<PendingSheet>& pending, const std::map<std::size_t, std::string>& failures,
                std::size_t first, const FixOptions& options, std::ostream& out, std::ostream& err) {
    int status = AllFine;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        PendingSheet& sheet = pending[i];
        if (const auto failure = failures.find(first + i); failure != failures.end()) {
            sheet.Result.Outcome = "ERROR";
            sheet.Result.Message = ErrorBoxText(failure->second);
            sheet.Result.Line = 0;
            sheet.Result.PrefixedWithSheet = true;
            sheet.Result.Status = SomeFailed;
        }
        if (sheet.Result.Message) {
            err << ErrorLine(sheet.Shown, sheet.Result);
        }
        if (options.Json) {
            out << JsonLine(sheet.Shown, sheet.Result.Row, sheet.Result.Outcome, sheet.Result.Message,
                            sheet.Extra)
                << "\n";
        } else {
            out << sheet.Extra << EscapeControls(sheet.Shown + " => " + sheet.Result.Outcome) << "\n";
        }
        status = std::max(status, sheet.Result.Status);
    }
    pending.clear();
    return status;
}

// This many staged files at most (a sheet and its backup are two) are made durable together: each
// commit costs a few journal flushes, so groups are large, and bounded so that lines keep coming.
constexpr std::size_t kStagedFilesPerCommit = 1024;

} // namespace

int RunFix(const FixOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (options.Check) {
        return RunCheck(options, out, err);
    }
    if (options.Restore) {
        return RunRestore(options, out, err);
    }
    const SheetPaths paths = ExpandPaths(options.Paths, options.Recursive);
    int status = AllFine;
    for (const std::string& problem : paths.Problems) {
        err << EscapeControls("velmora-fix: " + problem) << "\n";
        status = SomeFailed;
    }

    std::vector<std::string> binAnswers;
    std::vector<std::string> audioAnswers;
    for (const std::string& answer : options.BinAnswers) {
        binAnswers.push_back(AbsolutePath(answer));
    }
    for (const std::string& answer : options.AudioAnswers) {
        audioAnswers.push_back(AbsolutePath(answer));
    }
    // A dry run is the same run on a host that keeps its writes and moves instead of making them.
    const std::unique_ptr<TerminalHost> host =
        options.DryRun ? std::make_unique<DryRunHost>(binAnswers, audioAnswers, options.Auto)
                       : std::make_unique<TerminalHost>(binAnswers, audioAnswers, options.Auto);
    const auto* dryRun = dynamic_cast<const DryRunHost*>(host.get());
    if (options.ReadLengths) {
        host->UseLengths(SystemLengthReader());
    }
    // A batch pays for durability once per group of sheets rather than twice per sheet.
    BatchWrites batch;
    const bool batched = dryRun == nullptr && paths.Sheets.size() > 1;
    std::vector<PendingSheet> pending;
    std::size_t firstPending = 0;
    const auto commit = [&] {
        const std::map<std::size_t, std::string> failures = batch.Commit();
        status = std::max(status, PrintSheets(pending, failures, firstPending, options, out, err));
    };
    RepairState state;
    state.ReadAs = options.Encoding;
    ProgressLine progress(err, errIsTerminal && !options.Quiet && paths.Sheets.size() > 1);

    for (std::size_t i = 0; i < paths.Sheets.size(); ++i) {
        const std::string& shown = paths.Shown[i];
        // A sheet named twice is read again only once its first repair is on disk.
        if (batch.Count() >= kStagedFilesPerCommit || batch.Stages(paths.Sheets[i])) {
            progress.Wipe();
            commit();
        }
        if (pending.empty()) {
            firstPending = i;
        }
        progress.Show(i + 1, paths.Sheets.size(), shown);
        host->BeginRun();
        host->UseBatch(batched ? &batch : nullptr, i);
        state.CuePath = paths.Sheets[i];
        SheetResult result;
        state.Report = RowReport();
        if (paths.SkippedLinks[i]) {
            result = LinkSkipped();
        } else {
            if (const std::optional<EntryKind>& kind = paths.Kinds[i]) {
                host->Storage().Listed(paths.Sheets[i], *kind);
            }
            try {
                result = ResultOf(traitementCUE(state, *host), *host, state.Report, options.Verbose);
            } catch (const std::exception& error) {
                result = ErrorResult(error, *host);
            }
        }
        const std::vector<RecordedWrite> noWrites;
        const std::vector<RecordedWrite>& writes = dryRun != nullptr ? dryRun->SheetWrites() : noWrites;
        std::string extra;
        if (options.Json) {
            // Only a run that reached a repair has reasons to give.
            const bool repaired = result.Row || !state.Report.Missing.empty();
            extra = ", \"reasons\": " + (repaired ? JsonReasons(state.Report) : "null");
            if (options.DryRun) {
                extra += ", \"diff\": " + JsonString(DryRunText(shown, writes, state.Report, true)) +
                         ", \"moves\": " + JsonMoves(state.Report);
            }
        } else if (options.DryRun) {
            extra = DryRunText(shown, writes, state.Report);
        }
        pending.push_back({shown, std::move(result), std::move(extra)});
        if (!batched) {
            progress.Wipe();
            commit();
        }
    }
    progress.Wipe();
    commit();
    out.flush();
    return status;
}

} // namespace velmora::fix
