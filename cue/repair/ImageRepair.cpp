#include "cue/references/FileReferences.h"
#include "cue/references/FileTimes.h"
#include "cue/references/ReferencePaths.h"
#include "cue/references/SheetFiles.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/MoveRecord.h"
#include "cue/repair/ReferenceChoice.h"
#include "cue/repair/Repair.h"
#include "cue/repair/RowCaptions.h"
#include "cue/repair/SheetSaving.h"
#include "cue/text/CueText.h"
#include "cue/text/TextBuffer.h"
#include "errors/Error.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>

namespace velmora {
namespace {

// A reference moved in under its last name, whose FILE line must now say so.
struct BareNameRewrite {
    FileReference Reference;
    std::string Name;
};

// The last name of a reference that points outside the folder, in the sheet's bytes, when a file of
// that name lies beside the sheet; nothing otherwise.
std::optional<std::string> BareNameBesideSheet(RepairHost& host, const ReferenceChooser& chooser,
                                               const std::string& name, const std::string& folder,
                                               const std::string& sheetPath) {
    const ReferencePath place = chooser.Resolve(name);
    const std::string asWritten = ResolveReference(name, folder).PlacedName;
    if (place.StaysInside || asWritten.empty() || place.PlacedName.empty()) {
        return std::nullopt;
    }
    // The sheet itself is no image, whatever a downloaded sheet names (in any letter case, as Windows
    // would find it).
    const std::string_view sheetName = FileNamePart(sheetPath);
    if (EqualIgnoringCase(asWritten, sheetName) || EqualIgnoringCase(place.PlacedName, sheetName)) {
        return std::nullopt;
    }
    if (host.Storage().FileExists(folder + place.PlacedName) ||
        host.Storage().FileExists(folder + asWritten)) {
        return asWritten;
    }
    return std::nullopt;
}

std::string MoveFailure(const std::string& from, const std::string& to, const std::error_code& error) {
    return Localized("\"%s\" could not be moved to \"%s\": %s", {from, to, SystemErrorText(error.value())});
}

// The path's name relative to the sheet's folder when it lies below it; nothing otherwise.
std::optional<std::string> NameInFolder(const std::string& path, const std::string& folder) {
    if (path.compare(0, folder.size(), folder) != 0 || (folder.empty() && !path.empty() && path[0] == '/')) {
        return std::nullopt;
    }
    std::string name = path.substr(folder.size());
    // Records write "/" between folders, which every system reads; "\" is one only on Windows.
    for (char& c : name) {
        if (LastSeparator(std::string_view(&c, 1)) == 0) {
            c = '/';
        }
    }
    return IsRecordableName(name) ? std::optional<std::string>(std::move(name)) : std::nullopt;
}

// Writes the record again; a failure leaves the earlier one, which a restore reads as well.
void RewriteRecordIfPossible(const RepairState& state, SheetStorage& storage, const MoveRecord& record) {
    try {
        storage.WriteMoveRecord(MoveRecordPathOf(state.CuePath), EncodeRecord(record), state.CuePath);
    } catch (const Error&) {
    }
}

// Moves the chosen file into place with the record of the move on disk first, so that whatever stops
// the run, a restore can take back what was done; the entry goes again when the move fails, and is marked
// done once it is made. A file from another folder is not recorded: a record never sends anything out of
// the sheet's folder. The reason the file stays missing, empty on success.
std::string MoveRecorded(const RepairState& state, SheetStorage& storage, MoveRecord& record,
                         const std::string& from, const std::string& to) {
    const std::string recordPath = MoveRecordPathOf(state.CuePath);
    const std::optional<std::string> fromName = NameInFolder(from, state.CueFolder);
    const std::optional<std::string> toName = NameInFolder(to, state.CueFolder);
    const bool recordable = fromName && toName;
    if (recordable) {
        record.Moves.push_back({*fromName, *toName});
        record.Done.push_back(false);
        // The sheet's digest of an earlier repair no longer holds once this one moves something.
        record.Sheet.reset();
        try {
            storage.WriteMoveRecord(recordPath, EncodeRecord(record), state.CuePath);
        } catch (const Error& error) {
            record.Moves.pop_back();
            record.Done.pop_back();
            return error.what();
        }
    }
    const std::error_code error = storage.MoveFile(from, to);
    if (!error) {
        if (recordable) {
            record.Done.back() = true;
            // A restore goes by what it finds on disk, so an unmarked move made is no loss.
            RewriteRecordIfPossible(state, storage, record);
        }
        return {};
    }
    if (recordable) {
        // An entry whose move was never made is passed over by a restore, so this is tidiness only.
        record.Moves.pop_back();
        record.Done.pop_back();
        if (record.Moves.empty()) {
            storage.RemoveFile(recordPath);
        } else {
            RewriteRecordIfPossible(state, storage, record);
        }
    }
    return MoveFailure(from, to, error);
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
    std::vector<BareNameRewrite> rewrites;
    for (const FileReference& reference : references) {
        if (chooser.IsPresent(reference.Name)) {
            chooser.Take(chooser.Resolve(reference.Name).PlacedName);
        } else if (const std::optional<std::string> bare =
                       hasFileLine ? BareNameBesideSheet(host, chooser, reference.Name, state.CueFolder,
                                                         state.CuePath)
                                   : std::nullopt) {
            // A path from another machine ("C:\Games\game.bin", "../img/game.bin") whose file already
            // lies beside the sheet: nothing moves, the FILE line just names it there.
            chooser.Take(chooser.Resolve(reference.Name).PlacedName);
            report.Repaired.push_back({reference.LineNumber,
                                       reference.Name,
                                       *bare,
                                       CandidateRule::LastNameBesideSheet,
                                       false,
                                       false,
                                       {},
                                       std::nullopt});
            rewrites.push_back({reference, *bare});
        } else {
            missing.push_back(&reference);
        }
    }
    // A reference that points outside the folder is rewritten after its move; its backup must be
    // possible before anything moves.
    const bool rewritesSheet =
        !rewrites.empty() ||
        (hasFileLine && std::any_of(missing.begin(), missing.end(), [&](const FileReference* r) {
             return !chooser.Resolve(r->Name).StaysInside;
         }));
    if (rewritesSheet) {
        host.Storage().CheckBackupPath(BackupPathOf(state.CuePath));
    }
    // Every move is recorded, so that a restore can put it back; a record we cannot add to stops the run
    // before anything moves.
    MoveRecord recorded;
    if (!missing.empty()) {
        host.Storage().CheckBackupPath(MoveRecordPathOf(state.CuePath));
        recorded = ReadMoveRecord(host.Storage(), state.CuePath);
    }

    for (const FileReference* reference : missing) {
        const ReferencePath place = chooser.Resolve(reference->Name);
        const std::string expected = state.CueFolder + place.PlacedName;
        // One answer for one name: a file named again on a later line was moved in already.
        const auto earlier =
            std::find_if(report.Repaired.begin(), report.Repaired.end(),
                         [&](const ReferenceOutcome& r) { return r.OldName == reference->Name; });
        if (earlier != report.Repaired.end()) {
            ReferenceOutcome again = *earlier;
            again.LineNumber = reference->LineNumber;
            report.Repaired.push_back(again);
            if (hasFileLine && !place.StaysInside) {
                rewrites.push_back({*reference, again.NewName});
            }
            continue;
        }
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
        if (!host.Storage().FileExists(choice->Path)) {
            outcome.Reason = Localized("\"%s\" is not a regular file", {choice->Path});
        } else if (host.Storage().IsOutsideFolder(expected, state.CueFolder)) {
            outcome.Reason = Localized("\"%s\" lies outside the sheet's folder", {expected});
        } else {
            outcome.Reason = MoveRecorded(state, host.Storage(), recorded, choice->Path, expected);
        }
        if (!outcome.Reason.empty()) {
            report.Missing.push_back(outcome);
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        chooser.Take(place.PlacedName);
        chooser.Take(std::string(FileNamePart(choice->Path)));
        const std::string nameInSheet =
            EncodeForSheet(place.PlacedName, state.Reading).value_or(place.PlacedName);
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
        // The sheet stays as it is: only a record already there (of these moves, or of an earlier
        // repair's backup) needs its digest.
        if (!report.Moves.empty() && host.Storage().FileExists(MoveRecordPathOf(state.CuePath))) {
            NoteSheetInRecord(host.Storage(), state.CuePath, buffer.LoadedBytes());
        }
        return AddOutcomeRow(state, host, report.Repaired.empty() ? RunOutcome::Good : RunOutcome::Corrected);
    }

    // From the last line up, so that the positions of the earlier ones still hold.
    std::sort(rewrites.begin(), rewrites.end(), [](const BareNameRewrite& a, const BareNameRewrite& b) {
        return a.Reference.LineStart < b.Reference.LineStart;
    });
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
