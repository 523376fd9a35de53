#include "RunVelmoraFix.h"

#include <sys/wait.h>
#include <unistd.h>

namespace velmora::fix {

Started StartVelmoraFix(const std::string& folder, const std::string& arguments, const std::string& prefix,
                        const std::string& program) {
    Started started{-1, std::make_unique<testkit::TempFolder>()};
    const std::string command = "cd '" + folder + "' && " + prefix + " " + program + " " + arguments + " >" +
                                (*started.output / "out") + " 2>" + (*started.output / "err") + " </dev/null";
    started.shell = ::fork();
    if (started.shell == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return started;
}

Finished WaitFor(const Started& started) {
    int raw = 0;
    if (started.shell < 0 || ::waitpid(started.shell, &raw, 0) != started.shell) {
        return {-1, "", "velmora-fix could not be started"};
    }
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testkit::ReadFile(*started.output / "out"),
            testkit::ReadFile(*started.output / "err")};
}

Finished RunVelmoraFix(const std::string& folder, const std::string& arguments, const std::string& prefix,
                       const std::string& program) {
    return WaitFor(StartVelmoraFix(folder, arguments, prefix, program));
}

} // namespace velmora::fix
