#pragma once

#include <string>

namespace velmora::fix {

struct Finished {
    int status;
    std::string out;
    std::string err;
};

// Runs velmora-fix through the shell in `folder`, with `arguments` after the program and `prefix` before
// it (a privilege drop), and returns its exit status and what it printed.
Finished RunVelmoraFix(const std::string& folder, const std::string& arguments,
                       const std::string& prefix = "", const std::string& program = VELMORA_FIX_PROGRAM);

} // namespace velmora::fix
