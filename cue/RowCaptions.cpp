#include "cue/RowCaptions.h"

#include "cue/LengthChecks.h"
#include "cue/MoveRecord.h"
#include "cue/TextBuffer.h"

namespace velmora {

RunOutcome AddOutcomeRow(RepairState& state, RepairHost& host, RunOutcome outcome) {
    // The sheet in the buffer is the one about to be saved, with every file where it now lies.
    state.Report.Misfits = CheckFileLengths(host.Buffer().Text(), host.Buffer().Encoding(),
                                            std::string(FolderPart(state.CuePath)), host)
                               .Misfits;
    if (!state.Report.Moves.empty()) {
        RecordMoves(state.CuePath, state.Report.Moves, host);
    }
    std::string caption(FileNamePart(state.CuePath));
    int icon = kBadIcon;
    switch (outcome) {
    case RunOutcome::Good:
        caption += " => GOOD";
        icon = kGoodIcon;
        break;
    case RunOutcome::Corrected:
        caption += " => CORRECTED";
        icon = kCorrectedIcon;
        break;
    default:
        caption += " => BAD";
        break;
    }
    host.AddResultRow(caption, icon);
    host.DescribeResultRow(state.Report);
    state.CurrentRow = state.RowCount;
    ++state.RowCount;
    return outcome;
}

} // namespace velmora
