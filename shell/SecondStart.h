#pragma once

#include "platform/InstanceMark.h"
#include "shell/handover/HandOverPatience.h"

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// The path a second start hands over: its one argument, made absolute against
// its own working folder (the running instance works in another one); nothing
// for no argument or several.
std::optional<std::string> HandOverArgument(const std::vector<std::string>& arguments,
                                            const std::string& workingFolder);

struct StartDecision {
    // Set when this process is to be the window.
    std::unique_ptr<InstanceMark> mark;
    // Otherwise the process ends with this status.
    int exitCode = 0;
};

// Takes the instance mark, or hands `path` to the window that holds it and
// waits for its run. A window that goes away before answering sends this start
// back to the beginning: it takes the mark or hands over to whoever did. When
// the mark's holder does not listen within `patience`, the start says why on
// `errors` and ends with status 1: it never ends with 0 unless its sheet's run
// was answered.
StartDecision ClaimOrHandOver(const std::string& folder, const std::optional<std::string>& path,
                              std::chrono::milliseconds patience, std::ostream& errors);

} // namespace velmora
