#pragma once

#include "cue/lengths/LengthFit.h"
#include "cue/references/Candidates.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One FILE reference that a run repaired, or could not.
struct ReferenceOutcome {
    std::size_t LineNumber = 0;
    std::string OldName;
    // The name the sheet names now (audio) or under which the file was moved (image); empty when the
    // reference stays missing.
    std::string NewName;
    // The rule that found the file, or nothing when the user picked it.
    std::optional<CandidateRule> Rule;
    // Set when the file was moved beside the sheet under NewName rather than named in it.
    bool Moved = false;
    // Set when a chosen name could not be written in the sheet's encoding.
    bool NotWritable = false;
    // Why a missing reference stays missing when something was chosen for it (the chosen path is no
    // regular file, the move failed and the system's reason); empty otherwise.
    std::string Reason;
    // Set when the file's length decided among several candidates: "61:12.00 holds all 14 tracks".
    std::optional<std::string> ChosenForLength;
    // Set when the reference stays missing because the sheet's encoding cannot be told: the window
    // then offers to read the sheet in an encoding the user names.
    bool EncodingUntold = false;
};

struct PlannedMove {
    std::string From;
    std::string To;
};

// What one run did to its sheet, for tool tips and reports. Filled as the run goes; the host hears of
// it with the row.
struct RowReport {
    SheetEncoding Encoding = SheetEncoding::Utf8;
    std::vector<ReferenceOutcome> Repaired;
    std::vector<ReferenceOutcome> Missing;
    std::vector<std::size_t> NormalisedTimeLines;
    std::vector<PlannedMove> Moves;
    // Files too short for the INDEX times the sheet gives them.
    std::vector<LengthMisfit> Misfits;
    // Set once the sheet's backup is written: the sheet is about to change.
    bool BackedUp = false;
};

// True when the run changed something on disk that a restore can take back.
inline bool ChangedFiles(const RowReport& report) {
    return report.BackedUp || !report.Moves.empty();
}

// One or two sentences that tell what the run did, for a row's tool tip; UTF-8 whatever the sheet's
// encoding.
std::string RowReasonsText(const RowReport& report);

} // namespace velmora
