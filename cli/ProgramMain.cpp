#include "cli/ProgramMain.h"

#include "cli/FixOptions.h"
#include "cli/FixRun.h"

#include <iostream>

namespace velmora::fix {

int RunProgram(const std::vector<std::string>& arguments, bool errIsTerminal) {
    std::ios::sync_with_stdio(false);
    try {
        const FixOptions options = ParseArguments(arguments);
        if (options.Help) {
            std::cout << UsageText();
            return AllFine;
        }
        if (options.Version) {
            std::cout << "velmora-fix " << VELMORA_VERSION << "\n";
            return AllFine;
        }
        return RunFix(options, std::cout, std::cerr, errIsTerminal);
    } catch (const UsageError& error) {
        std::cerr << "velmora-fix: " << error.what() << "\n" << UsageText();
        return SomeFailed;
    }
}

} // namespace velmora::fix
