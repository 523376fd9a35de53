#include "RowCaptions.h"

namespace velmora {

RunOutcome AddOutcomeRow(RepairState& state, RepairHost& host, RunOutcome outcome) {
    std::string caption(FileNamePart(state.CuePath));
    int icon = BadIcon;
    switch (outcome) {
    case RunOutcome::Good:
        caption += " => GOOD";
        icon = GoodIcon;
        break;
    case RunOutcome::Corrected:
        caption += " => CORRECTED";
        icon = CorrectedIcon;
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
