#include "cli/CheckRun.h"

#include "cli/FixRun.h"
#include "cli/JsonLine.h"
#include "cli/LengthSource.h"
#include "cli/PerSheetLines.h"
#include "cli/RunReport.h"
#include "cli/SheetPaths.h"
#include "cli/TerminalHost.h"
#include "cli/TerminalText.h"
#include "cue/references/SheetFiles.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/IndexTimes.h"
#include "cue/repair/LengthChecks.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>
#include <functional>

namespace velmora::fix {
namespace {

// Appended piece by piece: a quote put before a temporary trips GCC 12's overlap warning at -O3.
std::string Quoted(const std::string& name, SheetEncoding encoding) {
    std::string quoted = "\"";
    quoted += DecodeToUtf8(name, encoding).value_or(name);
    quoted += '"';
    return quoted;
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
        line.Problems.push_back(
            {misfit.FileLine, Localized("%s is too short for the sheet: %s",
                                        {Quoted(misfit.Name, encoding), MisfitText(misfit)})});
    }
    for (const FileReference& missing : check.Missing) {
        line.Problems.push_back(
            {missing.LineNumber, Localized("%s is missing", {Quoted(missing.Name, encoding)})});
    }
    std::vector<FileReference> unread;
    for (const UnreadFile& file : check.Unread) {
        const std::string name = Quoted(file.Reference.Name, encoding);
        line.Problems.push_back(
            {file.Reference.LineNumber,
             file.Reason.empty() ? Localized("the length of %s could not be read", {name})
                                 : Localized("the length of %s could not be read: %s", {name, file.Reason})});
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

} // namespace

int RunCheck(const FixOptions& options, std::ostream& out, std::ostream& err) {
    TerminalHost host({}, {});
    host.UseLengths(SystemLengthReader());
    return PrintSheets(options, out, err, [&](const std::string& path) {
        return CheckSheet(path, host, options.Json, options.Encoding);
    });
}

} // namespace velmora::fix
