#pragma once

#include "cli/FixOptions.h"

#include <ostream>

namespace velmora::fix {

// velmora-fix --check: checks that every file each sheet names is there and holds the sheet's INDEX
// times, and writes nothing. Prints one line a sheet (FITS, DOES NOT FIT, MISSING, UNCHECKED, SKIPPED,
// WARNING or ERROR) and each problem on `err`. Returns the exit status.
int RunCheck(const FixOptions& options, std::ostream& out, std::ostream& err);

} // namespace velmora::fix
