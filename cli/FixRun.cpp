#include "FixRun.h"

#include "JsonLine.h"
#include "RunReport.h"
#include "SheetPaths.h"
#include "TerminalHost.h"

#include <algorithm>

namespace velmora::fix {
namespace {

struct SheetResult {
    std::optional<std::string> Row;
    std::string Outcome;
    std::optional<std::string> Message;
    int Status = AllFine;
};

// The row the run added, if any: an error after the row (a sheet that cannot be written) keeps it.
SheetResult StartResult(const TerminalHost& host) {
    SheetResult result;
    if (!host.Rows().empty())
        result.Row = host.Rows().back();
    return result;
}

SheetResult ResultOf(RunOutcome outcome, const TerminalHost& host) {
    SheetResult result = StartResult(host);
    switch (outcome) {
    case RunOutcome::Good:
        result.Outcome = "GOOD";
        break;
    case RunOutcome::Corrected:
        result.Outcome = "CORRECTED";
        break;
    case RunOutcome::Bad:
        result.Outcome = "BAD";
        result.Status = SomeBad;
        break;
    case RunOutcome::Cancelled:
        result.Outcome = "CANCELLED";
        break;
    case RunOutcome::Skipped:
        result.Outcome = "SKIPPED";
        break;
    case RunOutcome::Warning:
    case RunOutcome::Refused:
        result.Outcome = "WARNING";
        result.Status = SomeBad;
        if (!host.Warnings().empty())
            result.Message = host.Warnings().back();
        break;
    }
    return result;
}

// "[3/2000] path" on a terminal, rewritten in place and wiped before anything else is printed.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
    void Show(std::size_t done, std::size_t total, const std::string& sheet) {
        if (shown_)
            err_ << "\r\033[K[" << done << "/" << total << "] " << sheet << std::flush;
    }
    void Wipe() {
        if (shown_)
            err_ << "\r\033[K" << std::flush;
    }

private:
    std::ostream& err_;
    bool shown_;
};

} // namespace

int RunFix(const FixOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const SheetPaths paths = ExpandPaths(options.Paths, options.Recursive);
    int status = AllFine;
    for (const std::string& problem : paths.Problems) {
        err << "velmora-fix: " << problem << "\n";
        status = SomeFailed;
    }

    auto absolute = [](const std::optional<std::string>& answer) -> std::optional<std::string> {
        return answer ? std::optional(AbsolutePath(*answer)) : std::nullopt;
    };
    TerminalHost host(absolute(options.BinAnswer), absolute(options.AudioAnswer), options.Auto);
    RepairState state;
    state.DryRun = options.DryRun;
    ProgressLine progress(err, errIsTerminal && !options.Quiet && paths.Sheets.size() > 1);

    for (std::size_t i = 0; i < paths.Sheets.size(); ++i) {
        const std::string& sheet = paths.Sheets[i];
        progress.Show(i + 1, paths.Sheets.size(), sheet);
        host.BeginRun();
        state.CuePath = sheet;
        SheetResult result;
        try {
            result = ResultOf(traitementCUE(state, host), host);
        } catch (const std::exception& error) {
            result = StartResult(host);
            result.Outcome = "ERROR";
            result.Message = ErrorBoxText(error.what());
            result.Status = SomeFailed;
        }
        progress.Wipe();
        if (result.Message)
            err << *result.Message << "\n";
        err << UnwritableNameLines(sheet, state.Report);
        if (options.Json) {
            // Only a run that reached a repair has reasons to give.
            const bool repaired = result.Row || result.Outcome == "CANCELLED";
            std::string fields = ", \"reasons\": " + (repaired ? JsonReasons(state.Report) : "null");
            if (options.DryRun)
                fields += ", \"diff\": " + JsonString(DryRunText(sheet, state.Report, true)) +
                          ", \"moves\": " + JsonMoves(state.Report);
            out << JsonLine(sheet, result.Row, result.Outcome, result.Message, fields) << "\n";
        } else {
            if (options.DryRun)
                out << DryRunText(sheet, state.Report);
            if (result.Row)
                out << *result.Row << "\n";
        }
        status = std::max(status, result.Status);
    }
    progress.Wipe();
    out.flush();
    return status;
}

} // namespace velmora::fix
