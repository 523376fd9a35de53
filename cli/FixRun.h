#pragma once

#include "cli/FixOptions.h"

#include <ostream>

namespace velmora::fix {

enum ExitStatus { AllFine = 0, SomeBad = 1, SomeFailed = 2 };

// Runs the repair on every sheet the options name, prints each result on `out` and warnings, errors
// and (when `errIsTerminal`) a progress line on `err`. Returns the exit status.
int RunFix(const FixOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace velmora::fix
