#include "cue/repair/RowCaptions.h"

#include "cue/references/SheetFiles.h"
#include "cue/repair/LengthChecks.h"
#include "cue/text/TextBuffer.h"
#include "files/PathNames.h"

namespace velmora {
namespace {

// The sheet in the buffer is the one about to be saved, with every file where it now lies. The repair
// read its FILE lines and times already; only a text it changed since is read again.
std::vector<LengthMisfit> MisfitsOfBuffer(const RepairState& state, RepairHost& host) {
    if (host.Lengths() == nullptr) {
        return {};
    }
    const TextBuffer& buffer = host.Buffer();
    const std::string folder(FolderPart(state.CuePath));
    if (state.Files.Text == buffer.Text()) {
        return CheckFileLengths(state.Files, buffer.Encoding(), folder, host).Misfits;
    }
    return CheckFileLengths(ReadSheetFiles(buffer.Text()), buffer.Encoding(), folder, host).Misfits;
}

} // namespace

RunOutcome AddOutcomeRow(RepairState& state, RepairHost& host, RunOutcome outcome) {
    state.Report.Misfits = MisfitsOfBuffer(state, host);
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
