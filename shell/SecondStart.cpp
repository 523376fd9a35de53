#include "shell/SecondStart.h"

namespace velmora {

std::optional<std::string> HandOverArgument(const std::vector<std::string>& arguments,
                                            const std::string& workingFolder) {
    if (arguments.size() != 1)
        return std::nullopt;
    const std::string& argument = arguments.front();
    if (argument.empty() || argument.front() == '/' || workingFolder.empty())
        return argument;
    return workingFolder.back() == '/' ? workingFolder + argument : workingFolder + "/" + argument;
}

} // namespace velmora
