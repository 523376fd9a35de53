#include "CueText.h"
#include "Repair.h"
#include "RowCaptions.h"
#include "SheetLines.h"
#include "TextBuffer.h"

namespace velmora {

RunOutcome fichierbinaire(RepairState& state, RepairHost& host) {
    const std::string& text = host.Buffer().Text();
    // The name comes from the FILE line, so a quoted REM, PERFORMER or TITLE before it never decides
    // where the user's image goes.
    std::optional<std::string> fileLineName = FileLineName(text);
    state.BinName = fileLineName ? std::move(*fileLineName) : ExtractField(text, '"', 1);
    state.CueFolder = std::string(FolderPart(state.CuePath));

    const std::string expected = state.CueFolder + state.BinName;
    if (host.FileExists(expected))
        return AddOutcomeRow(state, host, RunOutcome::Good);

    const std::optional<std::string> chosen = host.ChooseFile({{"BIN Files", "*.bin"}}, state.CueFolder);
    if (!chosen)
        return RunOutcome::Cancelled;
    return AddOutcomeRow(state, host,
                         host.MoveFile(*chosen, expected) ? RunOutcome::Corrected : RunOutcome::Bad);
}

} // namespace velmora
