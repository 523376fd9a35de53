#pragma once

#include "cue/references/SheetFiles.h"
#include "cue/repair/EncodingDecision.h"
#include "cue/repair/RowReport.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The engine's process-wide state, kept between runs. Whoever owns the host owns one of these (the
// main window has one; tests make their own) and hands both to every run.
struct RepairState {
    std::string CuePath;
    std::string CueFolder;
    std::string BinName;
    std::string AudioName;
    std::string WholeText;
    std::int32_t CorrectionCount = 0;
    std::string TimeText;
    std::string NewTimeText;
    // Wider than the fields they are read from: carrying can push a field past the 32-bit range.
    std::int64_t Minutes = 0;
    std::int64_t Seconds = 0;
    std::int64_t Frames = 0;
    // Index in the host's result list of the row added last by the engine, -1 before the first one.
    std::int64_t CurrentRow = -1;
    // Number of rows the engine has added so far.
    std::int64_t RowCount = 0;
    bool RunInProgress = false;
    // The FILE lines and INDEX times the repair read from the sheet; the length checks reuse them while
    // the text is still the one they were read from.
    SheetFiles Files;
    // What the current run did; cleared when a run starts.
    RowReport Report;
    // The encoding the user says the sheets are in, when the bytes do not tell it.
    std::optional<SheetEncoding> ReadAs;
    // How the current sheet is read.
    EncodingDecision Reading;
};

} // namespace velmora
