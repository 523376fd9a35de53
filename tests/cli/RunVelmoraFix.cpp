#include "RunVelmoraFix.h"

#include "../cue/TestSupport.h"

#include <cstdlib>
#include <sys/wait.h>

namespace velmora::fix {

Finished RunVelmoraFix(const std::string& folder, const std::string& arguments, const std::string& prefix,
                       const std::string& program) {
    const testkit::TempFolder output;
    const std::string command = "cd '" + folder + "' && " + prefix + " " + program + " " + arguments + " >" +
                                (output / "out") + " 2>" + (output / "err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testkit::ReadFile(output / "out"),
            testkit::ReadFile(output / "err")};
}

} // namespace velmora::fix
