#include "RunVelmoraFix.h"

#include "../cue/TestSupport.h"

#include <cstdlib>
#include <sys/wait.h>

namespace velmora::fix {

Finished RunVelmoraFix(const std::string& folder, const std::string& arguments, const std::string& prefix,
                       const std::string& program) {
    const testing::TempFolder output;
    const std::string command = "cd '" + folder + "' && " + prefix + " " + program + " " + arguments + " >" +
                                (output / "out") + " 2>" + (output / "err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadFile(output / "out"),
            testing::ReadFile(output / "err")};
}

} // namespace velmora::fix
