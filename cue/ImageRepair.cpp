#include "cue/CueText.h"
#include "cue/FileReferences.h"
#include "cue/FileTimes.h"
#include "cue/MoveRecord.h"
#include "cue/ReferenceChoice.h"
#include "cue/Repair.h"
#include "cue/RowCaptions.h"
#include "cue/SheetFiles.h"
#include "cue/SheetSaving.h"
#include "cue/TextBuffer.h"
#include "messages/Messages.h"

#include <algorithm>

namespace velmora {
namespace {

// A reference moved in under its last name, whose FILE line must now say so.
struct BareNameRewrite {
    FileReference Reference;
    std::string Name;
};

std::string MoveFailure(const std::string& from, const std::string& to, const std::error_code& error) {
    return "\"" + from + "\" could not be moved to \"" + to + "\": " + SystemErrorText(error.value());
}

} // namespace

RunOutcome fichierbinaire(RepairState& state, RepairHost& host) {
    TextBuffer& buffer = host.Buffer();
    const std::string& text = buffer.Text();
    RowReport& report = state.Report;
    report.Encoding = buffer.Encoding();
    state.Files = ReadSheetFiles(text);
    // Only a sheet without a FILE line falls back to its first quoted text, so a quoted REM, PERFORMER
    // or TITLE before the FILE line never decides where the user's image goes.
    const bool hasFileLine = !state.Files.References.empty();
    std::vector<FileReference> firstQuoted;
    if (!hasFileLine) {
        firstQuoted.emplace_back();
        firstQuoted.back().Name = ExtractField(text, '"', 1);
    }
    const std::vector<FileReference>& references = hasFileLine ? state.Files.References : firstQuoted;
    state.BinName = references.front().Name;
    // A sheet without a FILE line has one list of times, for the name it falls back to.
    const std::vector<FileTimes>& times = state.Files.Times;
    state.CueFolder = std::string(FolderPart(state.CuePath));

    ReferenceChooser chooser(host, state.CueFolder, std::string(FileNamePart(state.CuePath)), FileKind::Image,
                             report.Encoding, {{ForCatalogue("BIN Files"), "*.bin"}});
    std::vector<const FileReference*> missing;
    for (const FileReference& reference : references) {
        if (chooser.IsPresent(reference.Name)) {
            chooser.Take(chooser.Resolve(reference.Name).PlacedName);
        } else {
            missing.push_back(&reference);
        }
    }
    // A reference that points outside the folder is rewritten after its move; its backup must be
    // possible before anything moves.
    const bool rewritesSheet =
        hasFileLine && std::any_of(missing.begin(), missing.end(), [&](const FileReference* r) {
            return !chooser.Resolve(r->Name).StaysInside;
        });
    if (rewritesSheet) {
        CheckBackupPath(BackupPathOf(state.CuePath));
    }
    // Every move is recorded, so that a restore can put it back.
    if (!missing.empty()) {
        CheckBackupPath(MoveRecordPathOf(state.CuePath));
    }

    std::vector<BareNameRewrite> rewrites;
    for (const FileReference* reference : missing) {
        const ReferencePath place = chooser.Resolve(reference->Name);
        const std::string expected = state.CueFolder + place.PlacedName;
        ReferenceOutcome outcome{reference->LineNumber, reference->Name, {}, std::nullopt, false, false, {},
                                 std::nullopt};
        const std::optional<ReferenceChoice> choice =
            chooser.Ask(reference->Name, reference->LineNumber, &times[reference - references.data()]);
        if (!choice) {
            report.Missing.push_back(outcome);
            // As with one image, a cancel before anything moved adds no row.
            if (report.Repaired.empty()) {
                return RunOutcome::Cancelled;
            }
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        std::error_code error;
        if (!host.FileExists(choice->Path)) {
            outcome.Reason = "\"" + choice->Path + "\" is not a regular file";
        } else if (IsOutsideFolder(expected, state.CueFolder)) {
            outcome.Reason = "\"" + expected + "\" lies outside the sheet's folder";
        } else if ((error = host.MoveFile(choice->Path, expected))) {
            outcome.Reason = MoveFailure(choice->Path, expected, error);
        }
        if (!outcome.Reason.empty()) {
            report.Missing.push_back(outcome);
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        chooser.Take(place.PlacedName);
        chooser.Take(std::string(FileNamePart(choice->Path)));
        const std::string nameInSheet =
            EncodeFromUtf8(place.PlacedName, report.Encoding).value_or(place.PlacedName);
        outcome.NewName = nameInSheet;
        outcome.Rule = choice->Rule;
        outcome.ChosenForLength = choice->ChosenForLength;
        outcome.Moved = true;
        report.Repaired.push_back(outcome);
        report.Moves.push_back({choice->Path, expected});
        if (hasFileLine && !place.StaysInside) {
            rewrites.push_back({*reference, nameInSheet});
        }
    }
    if (rewrites.empty()) {
        return AddOutcomeRow(state, host, report.Repaired.empty() ? RunOutcome::Good : RunOutcome::Corrected);
    }

    // From the last line up, so that the positions of the earlier ones still hold.
    state.WholeText = text;
    for (auto rewrite = rewrites.rbegin(); rewrite != rewrites.rend(); ++rewrite) {
        const std::string type = text.substr(rewrite->Reference.TypeStart, rewrite->Reference.TypeLength);
        state.WholeText = RenameFileReference(state.WholeText, rewrite->Reference, rewrite->Name, type);
    }
    WriteBackupOfLoadedSheet(state, host);
    report.BackedUp = true;
    buffer.SetText(state.WholeText);
    const RunOutcome outcome = AddOutcomeRow(state, host, RunOutcome::Corrected);
    SaveSheet(state, host);
    return outcome;
}

} // namespace velmora
