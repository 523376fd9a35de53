#pragma once

#include "cli/FixOptions.h"
#include "cli/FixRun.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace velmora::fix {

// One line of standard error: what is wrong, and the line of the sheet it is on (0 for none).
struct Problem {
    std::size_t Line = 0;
    std::string Text;
};

// What a run that writes one line a sheet (--check, --restore) says of one sheet.
struct SheetLine {
    std::string Outcome;
    int Status = AllFine;
    std::vector<Problem> Problems;
    // The JSON fields after "message".
    std::string Extra;
};

// Expands the paths, runs `work` on each sheet (a link is skipped, a name not ending in ".cue" refused),
// prints its line on `out` and its problems on `err`, and returns the exit status.
int PrintSheets(const FixOptions& options, std::ostream& out, std::ostream& err,
                const std::function<SheetLine(const std::string&)>& work);

} // namespace velmora::fix
