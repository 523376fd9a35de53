#include "CueText.h"
#include "FileReferences.h"
#include "ReferenceChoice.h"
#include "Repair.h"
#include "RowCaptions.h"
#include "TextBuffer.h"

namespace velmora {

RunOutcome fichierbinaire(RepairState& state, RepairHost& host) {
    const std::string& text = host.Buffer().Text();
    RowReport& report = state.Report;
    report.Encoding = DetectEncoding(text);
    std::vector<FileReference> references = FindFileReferences(text);
    // Only a sheet without a FILE line falls back to its first quoted text, so a quoted REM, PERFORMER
    // or TITLE before the FILE line never decides where the user's image goes.
    if (references.empty()) {
        references.emplace_back();
        references.back().Name = ExtractField(text, '"', 1);
    }
    state.BinName = references.front().Name;
    state.CueFolder = std::string(FolderPart(state.CuePath));

    ReferenceChooser chooser(host, state.CueFolder, std::string(FileNamePart(state.CuePath)), FileKind::Image,
                             report.Encoding, {{"BIN Files", "*.bin"}});
    for (const FileReference& reference : references)
        if (chooser.IsPresent(reference.Name))
            chooser.Take(DiskNameOf(reference.Name, report.Encoding));

    for (const FileReference& reference : references) {
        if (chooser.IsPresent(reference.Name))
            continue;
        const std::string diskName = DiskNameOf(reference.Name, report.Encoding);
        const std::string expected = state.CueFolder + diskName;
        ReferenceOutcome outcome{reference.LineNumber, reference.Name, {}, std::nullopt, false, false};
        const std::optional<ReferenceChoice> choice = chooser.Ask(reference.Name, reference.LineNumber);
        if (!choice) {
            report.Missing.push_back(outcome);
            // As with one image, a cancel before anything moved adds no row.
            if (report.Repaired.empty())
                return RunOutcome::Cancelled;
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        const bool moved = state.DryRun ? host.FileExists(choice->Path) && !host.FileExists(expected)
                                        : host.MoveFile(choice->Path, expected);
        if (!moved) {
            report.Missing.push_back(outcome);
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        chooser.Take(diskName);
        chooser.Take(std::string(FileNamePart(choice->Path)));
        outcome.NewName = diskName;
        outcome.Rule = choice->Rule;
        outcome.Moved = true;
        report.Repaired.push_back(outcome);
        report.Moves.push_back({choice->Path, expected});
    }
    return AddOutcomeRow(state, host, report.Repaired.empty() ? RunOutcome::Good : RunOutcome::Corrected);
}

} // namespace velmora
