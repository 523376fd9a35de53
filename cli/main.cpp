#include "cli/FixOptions.h"
#include "cli/FixRun.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace velmora::fix;
    std::ios::sync_with_stdio(false);
    try {
        const FixOptions options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.Help) {
            std::cout << UsageText();
            return AllFine;
        }
        if (options.Version) {
            std::cout << "velmora-fix " << VELMORA_VERSION << "\n";
            return AllFine;
        }
        return RunFix(options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    } catch (const UsageError& error) {
        std::cerr << "velmora-fix: " << error.what() << "\n" << UsageText();
        return SomeFailed;
    }
}
