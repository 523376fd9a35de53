#include "cue/repair/Repair.h"

#include "cue/references/ReferencePaths.h"
#include "cue/references/SheetKind.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/RowCaptions.h"
#include "cue/text/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr int kProgressMaximum = 100;

// Marks the run as in progress and, however it ends, clears the mark and enables the open link again.
class RunScope {
public:
    RunScope(RepairState& state, RepairHost& host) : state_(state), host_(host) {
        state_.RunInProgress = true;
        host_.SetOpenLinkEnabled(false);
    }
    ~RunScope() {
        state_.RunInProgress = false;
        host_.SetOpenLinkEnabled(true);
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    RepairState& state_;
    RepairHost& host_;
};

std::string_view Extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t boundary = LastNameBoundary(path);
    if (dot == std::string_view::npos || (boundary != std::string_view::npos && dot < boundary)) {
        return {};
    }
    return path.substr(dot);
}

bool ContainsAll(std::string_view text, std::initializer_list<std::string_view> keywords) {
    for (std::string_view keyword : keywords) {
        if (text.find(keyword) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// Nothing is renamed, moved or written for a sheet whose names cannot be read: the names it would
// look for, or write, could be misread ones.
RunOutcome RefuseUnreadableNames(RepairState& state, RepairHost& host) {
    state.Files = ReadSheetFiles(host.Buffer().Text());
    state.Report.Encoding = state.Reading.Encoding;
    const std::string folder(FolderPart(state.CuePath));
    for (const FileReference& reference : state.Files.References) {
        const std::string lookup = ResolveReference(reference.Name, folder).LookupPath;
        const bool ascii = std::all_of(reference.Name.begin(), reference.Name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii || host.Storage().FileExists(lookup)) {
            continue;
        }
        ReferenceOutcome outcome{reference.LineNumber,       reference.Name, {},  std::nullopt, false, false,
                                 CannotTellEncodingReason(), std::nullopt,   true};
        state.Report.Missing.push_back(outcome);
    }
    return AddOutcomeRow(state, host, RunOutcome::Bad);
}

RunOutcome RepairLoadedSheet(RepairState& state, RepairHost& host) {
    TextBuffer& buffer = host.Buffer();
    // A sheet reached through a link is repaired where it lies: its files are looked for, and its
    // backup kept, beside it there, and no link is written through.
    state.CuePath = host.Storage().WhereItLies(state.CuePath);
    host.Storage().ConfineTo(std::string(FolderPart(state.CuePath)));
    buffer.LoadFromFile(state.CuePath, host.Storage());
    host.Storage().RemoveStaleTemporaries(std::string(FolderPart(state.CuePath)));
    const std::string& text = buffer.Text();
    const bool describesAudio = ContainsAll(text, {"AUDIO", "PERFORMER", "TITLE"});
    if (!describesAudio && !ContainsAll(text, {"FILE", "TRACK", "INDEX"})) {
        return RunOutcome::Skipped;
    }
    state.Reading = DecideEncoding(text, FindFileReferences(text), std::string(FolderPart(state.CuePath)),
                                   host, state.ReadAs);
    buffer.SetEncoding(state.Reading.Encoding);
    AnimateProgress(host);
    if (state.Reading.CannotTell) {
        return RefuseUnreadableNames(state, host);
    }
    // Rippers leave out the album PERFORMER and TITLE; the audio files they name tell the sheet's kind.
    return describesAudio || NamesAudioFile(text) ? fichiermp3(state, host) : fichierbinaire(state, host);
}

} // namespace

RunOutcome traitementCUE(RepairState& state, RepairHost& host) {
    if (state.RunInProgress) {
        return RunOutcome::Refused;
    }
    RunScope scope(state, host);
    state.Report = RowReport();
    host.SetProgressPosition(0);

    if (Extension(state.CuePath) != ".cue") {
        host.ShowWarning(Localized("%s is not a valid CUE", {FileNamePart(state.CuePath)}));
        return RunOutcome::Warning;
    }

    try {
        return RepairLoadedSheet(state, host);
    } catch (const Error& error) {
        // Whoever shows the error can then name the sheet it belongs to.
        if (!error.SheetPath().empty()) {
            throw;
        }
        throw Error(error.what(), state.CuePath, error.LineNumber());
    }
}

void AnimateProgress(RepairHost& host) {
    if (host.AnimatesProgress()) {
        for (int step = 0; step < kProgressMaximum; ++step) {
            host.SetProgressPosition(host.ProgressPosition() + 1);
            Delay(host, 1);
        }
    }
    host.SetProgressPosition(kProgressMaximum);
}

void Delay(RepairHost& host, std::uint32_t ms) {
    // Unsigned differences stay right when the counter wraps, where comparing with a deadline would not.
    const std::uint32_t start = host.TickCount();
    do {
        host.PumpEvents();
    } while (static_cast<std::uint32_t>(host.TickCount() - start) < ms);
}

} // namespace velmora
