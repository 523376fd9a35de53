#include "cli/CheckRun.h"

#include "cli/FixRun.h"
#include "cli/JsonLine.h"
#include "cli/LengthSource.h"
#include "cli/RunReport.h"
#include "cli/SheetPaths.h"
#include "cli/TerminalHost.h"
#include "cli/TerminalText.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/IndexTimes.h"
#include "cue/repair/LengthChecks.h"
#include "cue/repair/Restore.h"
#include "cue/references/SheetFiles.h"

#include <algorithm>
#include <functional>

namespace velmora::fix {
namespace {

// One line of standard error: what is wrong, and the line of the sheet it is on (0 for none).
struct Problem {
    std::size_t Line = 0;
    std::string Text;
};

struct SheetLine {
    std::string Outcome;
    int Status = AllFine;
    std::vector<Problem> Problems;
    // The JSON fields after "message".
    std::string Extra;
};

bool IsCuePath(const std::string& path) {
    const std::string_view name = FileNamePart(path);
    return name.size() >= 4 && name.substr(name.size() - 4) == ".cue";
}

// Both --check and --restore refuse a file whose name does not end in ".cue", as a repair run does.
SheetLine RefusedAsNoSheet(const std::string& path) {
    SheetLine line;
    line.Outcome = "WARNING";
    line.Status = SomeBad;
    line.Problems.push_back({0, std::string(FileNamePart(path)) + " is not a valid CUE"});
    return line;
}

// Appended piece by piece: a quote put before a temporary trips GCC 12's overlap warning at -O3.
std::string Quoted(const std::string& name, SheetEncoding encoding) {
    std::string quoted = "\"";
    quoted += DecodeToUtf8(name, encoding).value_or(name);
    quoted += '"';
    return quoted;
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

std::string JsonReferences(const std::vector<FileReference>& references, SheetEncoding encoding) {
    std::string json = "[";
    for (std::size_t i = 0; i < references.size(); ++i) {
        json += (i > 0 ? ", " : "") + std::string("{\"line\": ") + std::to_string(references[i].LineNumber) +
                ", \"name\": " +
                JsonString(DecodeToUtf8(references[i].Name, encoding).value_or(references[i].Name)) + "}";
    }
    return json + "]";
}

SheetLine CheckSheet(const std::string& path, RepairHost& host, bool json,
                     std::optional<SheetEncoding> readAs) {
    SheetLine line;
    TextBuffer& buffer = host.Buffer();
    try {
        buffer.LoadFromFile(path, host.Storage());
        ReadTimesAsARepairDoes(path, buffer.Text());
    } catch (const Error& error) {
        line.Outcome = "ERROR";
        line.Status = SomeFailed;
        line.Problems.push_back({error.LineNumber(), ErrorBoxText(error.what())});
        return line;
    }
    const SheetFiles files = ReadSheetFiles(buffer.Text());
    if (files.References.empty()) {
        line.Outcome = "SKIPPED";
        return line;
    }
    // Read as a repair would read it, so a check names the files the repair would look for.
    buffer.SetEncoding(
        DecideEncoding(buffer.Text(), files.References, std::string(FolderPart(path)), host, readAs)
            .Encoding);
    const SheetEncoding encoding = buffer.Encoding();
    const LengthCheck check = CheckFileLengths(files, encoding, std::string(FolderPart(path)), host);
    for (const LengthMisfit& misfit : check.Misfits) {
        line.Problems.push_back({misfit.FileLine, Quoted(misfit.Name, encoding) +
                                                      " is too short for the sheet: " + MisfitText(misfit)});
    }
    for (const FileReference& missing : check.Missing) {
        line.Problems.push_back({missing.LineNumber, Quoted(missing.Name, encoding) + " is missing"});
    }
    std::vector<FileReference> unread;
    for (const UnreadFile& file : check.Unread) {
        std::string text = "the length of " + Quoted(file.Reference.Name, encoding) + " could not be read";
        if (!file.Reason.empty()) {
            text += ": " + file.Reason;
        }
        line.Problems.push_back({file.Reference.LineNumber, std::move(text)});
        unread.push_back(file.Reference);
    }
    std::sort(line.Problems.begin(), line.Problems.end(),
              [](const Problem& a, const Problem& b) { return a.Line < b.Line; });
    line.Outcome = !check.Misfits.empty()   ? "DOES NOT FIT"
                   : !check.Missing.empty() ? "MISSING"
                   : !check.Unread.empty()  ? "UNCHECKED"
                                            : "FITS";
    line.Status = check.Misfits.empty() && check.Missing.empty() ? AllFine : SomeBad;
    if (json) {
        line.Extra = ", \"reasons\": {\"encoding\": " + JsonString(EncodingName(encoding)) +
                     ", \"misfits\": " + JsonMisfits(check.Misfits, encoding) +
                     ", \"missing\": " + JsonReferences(check.Missing, encoding) +
                     ", \"unread\": " + JsonReferences(unread, encoding) + "}";
    }
    return line;
}

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

std::string ProblemsText(const std::vector<Problem>& problems) {
    std::string text;
    for (const Problem& problem : problems) {
        text += (text.empty() ? "" : "; ") + problem.Text;
    }
    return text;
}

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
            line.Problems.push_back({0, "is a link"});
        } else {
            line = IsCuePath(path) ? work(path) : RefusedAsNoSheet(path);
        }
        for (const Problem& problem : line.Problems) {
            err << ProblemLine(shown, line, problem);
        }
        if (options.Verbose && line.Problems.empty()) {
            err << EscapeControls("velmora-fix: " + shown + ": " +
                                  (line.Outcome == "FITS" ? "every file is there and holds the sheet's times"
                                                          : "put back as it was"))
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

} // namespace

int RunCheck(const FixOptions& options, std::ostream& out, std::ostream& err) {
    TerminalHost host({}, {});
    host.UseLengths(SystemLengthReader());
    return PrintSheets(options, out, err, [&](const std::string& path) {
        return CheckSheet(path, host, options.Json, options.Encoding);
    });
}

int RunRestore(const FixOptions& options, std::ostream& out, std::ostream& err) {
    return PrintSheets(options, out, err, RestoreOne);
}

} // namespace velmora::fix
