#pragma once

#include "cli/FixOptions.h"

#include <ostream>

namespace velmora::fix {

// velmora-fix --restore: puts each sheet's backup back, and the files its repairs moved. Prints one line
// a sheet (RESTORED, NO BACKUP, WARNING or ERROR). Returns the exit status.
int RunRestore(const FixOptions& options, std::ostream& out, std::ostream& err);

} // namespace velmora::fix
