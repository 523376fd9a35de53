#include "cue/references/FileReferences.h"
#include "cue/references/FileTimes.h"
#include "cue/references/ReferencePaths.h"
#include "cue/references/SheetFiles.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/ReferenceChoice.h"
#include "cue/repair/Repair.h"
#include "cue/repair/RowCaptions.h"
#include "cue/text/CueText.h"
#include "cue/text/SheetLines.h"
#include "cue/text/TextBuffer.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>

namespace velmora {
namespace {

const FileFilterList kAudioFilters = {
    {ForCatalogue("Mp3 Files"), "*.mp3"}, {ForCatalogue("Wav Files"), "*.wav"},
    {ForCatalogue("Ogg Files"), "*.ogg"}, {ForCatalogue("Mp4 Files"), "*.mp4"},
    {ForCatalogue("Wma Files"), "*.wma"}, {ForCatalogue("Mpc Files"), "*.mpc"},
};

// A double quote or a line break in the name would end the FILE line's name early or split the line.
bool FitsInFileLine(std::string_view name) {
    return name.find_first_of("\"\r\n") == std::string_view::npos;
}

// The chosen file's name as the sheet must write it, relative to the sheet's folder so the sheet finds
// it again; nothing when it cannot be written there.
std::optional<std::string> NameInSheet(const std::string& folder, const std::string& chosenPath,
                                       const EncodingDecision& reading) {
    const std::optional<std::string> utf8 =
        DiskNameToUtf8(RelativePathFrom(folder, chosenPath), reading.Encoding);
    std::optional<std::string> name = utf8 ? EncodeForSheet(*utf8, reading) : std::nullopt;
    if (name && !FitsInFileLine(*name)) {
        name.reset();
    }
    return name;
}

// A sheet without a FILE line gets one before its first TRACK line, or at its end.
std::string AddFileLine(std::string_view text, std::string_view name, std::string_view type) {
    const std::string line = "FILE \"" + std::string(name) + "\" " + std::string(type);
    if (const std::optional<LineSpan> trackLine = FindKeywordLine(text, "TRACK")) {
        return ReplaceSpan(text, trackLine->Start, 0, line + "\r\n");
    }
    const bool endsLine = text.empty() || text.back() == '\n' || text.back() == '\r';
    return std::string(text) + (endsLine ? "" : "\r\n") + line + "\r\n";
}

// A disc image keeps its type even in a sheet that reads as audio: no audio keyword describes it.
bool NamesDiscImage(std::string_view text, const FileReference& reference) {
    std::string type(text.substr(reference.TypeStart, reference.TypeLength));
    for (char& c : type) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return type == "BINARY" || type == "MOTOROLA";
}

struct PendingRename {
    std::size_t Index;
    std::string Name;
    std::string Type;
};

} // namespace

RunOutcome fichiermp3(RepairState& state, RepairHost& host) {
    state.CorrectionCount = 0;
    state.WholeText = host.Buffer().Text();
    state.CueFolder = std::string(FolderPart(state.CuePath));
    RowReport& report = state.Report;
    report.Encoding = host.Buffer().Encoding();
    state.Files = ReadSheetFiles(state.WholeText);
    const std::vector<FileReference>& references = state.Files.References;
    state.AudioName = references.empty() ? std::string() : references.front().Name;

    ReferenceChooser chooser(host, state.CueFolder, std::string(FileNamePart(state.CuePath)), FileKind::Audio,
                             report.Encoding, kAudioFilters);
    for (const FileReference& reference : references) {
        if (chooser.IsPresent(reference.Name)) {
            chooser.Take(chooser.Resolve(reference.Name).PlacedName);
        }
    }

    const std::vector<FileTimes>& times = state.Files.Times;
    // A sheet without a FILE line asks once, for the line it lacks.
    const std::size_t asks = std::max<std::size_t>(references.size(), 1);
    std::vector<PendingRename> renames;
    for (std::size_t i = 0; i < asks; ++i) {
        const std::string name = references.empty() ? std::string() : references[i].Name;
        const std::size_t lineNumber = references.empty() ? 0 : references[i].LineNumber;
        if (!references.empty() && chooser.IsPresent(name)) {
            continue;
        }
        // One answer for one name: a file named again on a later line takes the same one.
        const auto earlier = std::find_if(renames.begin(), renames.end(), [&](const PendingRename& rename) {
            return !references.empty() && references[rename.Index].Name == name;
        });
        if (earlier != renames.end()) {
            ReferenceOutcome again =
                *std::find_if(report.Repaired.begin(), report.Repaired.end(),
                              [&](const ReferenceOutcome& r) { return r.OldName == name; });
            again.LineNumber = lineNumber;
            report.Repaired.push_back(again);
            const bool keepsType = NamesDiscImage(state.WholeText, references[i]);
            renames.push_back({i, earlier->Name,
                               keepsType
                                   ? state.WholeText.substr(references[i].TypeStart, references[i].TypeLength)
                                   : earlier->Type});
            continue;
        }
        ReferenceOutcome outcome{lineNumber, name, {}, std::nullopt, false, false, {}, std::nullopt};
        const std::optional<ReferenceChoice> choice = chooser.Ask(name, lineNumber, &times[i]);
        if (choice && !host.Storage().FileExists(choice->Path)) {
            outcome.Reason = Localized("\"%s\" is not a regular file", {choice->Path});
        }
        const std::optional<std::string> newName =
            choice && outcome.Reason.empty() ? NameInSheet(state.CueFolder, choice->Path, state.Reading)
                                             : std::nullopt;
        if (!newName) {
            const bool unwritable = choice.has_value() && outcome.Reason.empty();
            // Where several readings remain, a name they would write differently cannot be written.
            const bool unsure = unwritable && state.Reading.Readings.size() > 1;
            outcome.NotWritable = unwritable && !unsure;
            if (unsure) {
                outcome.Reason = CannotTellEncodingReason();
                outcome.EncodingUntold = true;
            }
            report.Missing.push_back(outcome);
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        }
        chooser.Take(std::string(FileNamePart(choice->Path)));
        outcome.NewName = *newName;
        outcome.Rule = choice->Rule;
        outcome.ChosenForLength = choice->ChosenForLength;
        report.Repaired.push_back(outcome);
        const bool keepsType = !references.empty() && NamesDiscImage(state.WholeText, references[i]);
        const std::string type =
            keepsType ? state.WholeText.substr(references[i].TypeStart, references[i].TypeLength)
                      : AudioTypeKeyword(FileNamePart(choice->Path));
        renames.push_back({i, *newName, type});
        ++state.CorrectionCount;
    }

    // From the last line up, so that the positions of the earlier ones still hold.
    for (auto rename = renames.rbegin(); rename != renames.rend(); ++rename) {
        state.WholeText = references.empty() ? AddFileLine(state.WholeText, rename->Name, rename->Type)
                                             : RenameFileReference(state.WholeText, references[rename->Index],
                                                                   rename->Name, rename->Type);
    }
    const RunOutcome outcome = traitementheures(state, host);
    SaveSheet(state, host);
    return outcome;
}

} // namespace velmora
