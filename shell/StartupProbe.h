#pragma once

class QCoreApplication;

namespace velmora {

// For the start-up benchmark: when VELMORA_STARTUP_PROBE is set, the first
// window that has painted writes "painted <resident kB>" to standard output and
// the program ends as if its window had been closed. Without it, nothing.
void InstallStartupProbe(QCoreApplication& app);

} // namespace velmora
