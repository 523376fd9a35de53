#include "cli/PerSheetLines.h"

#include "cli/JsonLine.h"
#include "cli/RunReport.h"
#include "cli/SheetPaths.h"
#include "cli/TerminalText.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>
#include <optional>

namespace velmora::fix {
namespace {

bool IsCuePath(const std::string& path) {
    const std::string_view name = FileNamePart(path);
    return name.size() >= 4 && name.substr(name.size() - 4) == ".cue";
}

// Both --check and --restore refuse a file whose name does not end in ".cue", as a repair run does.
SheetLine RefusedAsNoSheet(const std::string& path) {
    SheetLine line;
    line.Outcome = "WARNING";
    line.Status = SomeBad;
    line.Problems.push_back({0, Localized("%s is not a valid CUE", {FileNamePart(path)})});
    return line;
}

// "velmora-fix: PATH:LINE: problem"; a warning names the sheet itself.
std::string ProblemLine(const std::string& shown, const SheetLine& line, const Problem& problem) {
    std::string text = "velmora-fix: ";
    if (line.Outcome != "WARNING") {
        text += shown;
        if (problem.Line != 0) {
            text += ':';
            text += std::to_string(problem.Line);
        }
        text += ": ";
    }
    text += problem.Text;
    return EscapeControls(text) + "\n";
}

std::string ProblemsText(const std::vector<Problem>& problems) {
    std::string text;
    for (const Problem& problem : problems) {
        text += (text.empty() ? "" : Localized("; ")) + problem.Text;
    }
    return text;
}

} // namespace

int PrintSheets(const FixOptions& options, std::ostream& out, std::ostream& err,
                const std::function<SheetLine(const std::string&)>& work) {
    const SheetPaths paths = ExpandPaths(options.Paths, options.Recursive);
    int status = AllFine;
    for (const std::string& problem : paths.Problems) {
        err << EscapeControls("velmora-fix: " + problem) << "\n";
        status = SomeFailed;
    }
    for (std::size_t i = 0; i < paths.Sheets.size(); ++i) {
        const std::string& shown = paths.Shown[i];
        const std::string& path = paths.Sheets[i];
        SheetLine line;
        if (paths.SkippedLinks[i]) {
            line.Outcome = "SKIPPED";
            line.Problems.push_back({0, Localized("is a link")});
        } else {
            line = IsCuePath(path) ? work(path) : RefusedAsNoSheet(path);
        }
        for (const Problem& problem : line.Problems) {
            err << ProblemLine(shown, line, problem);
        }
        if (options.Verbose && line.Problems.empty()) {
            err << EscapeControls("velmora-fix: " + shown + ": " +
                                  (line.Outcome == "FITS"
                                       ? Localized("every file is there and holds the sheet's times")
                                       : Localized("put back as it was")))
                << "\n";
        }
        if (options.Json) {
            const std::optional<std::string> message =
                line.Problems.empty() ? std::nullopt
                                      : std::optional<std::string>(ProblemsText(line.Problems));
            out << JsonLine(shown, std::nullopt, line.Outcome, message, line.Extra) << "\n";
        } else {
            out << EscapeControls(shown + " => " + line.Outcome) << "\n";
        }
        status = std::max(status, line.Status);
    }
    out.flush();
    return status;
}

} // namespace velmora::fix
