#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The path a second start hands over: its one argument, made absolute against
// its own working folder (the running instance works in another one); nothing
// for no argument or several.
std::optional<std::string> HandOverArgument(const std::vector<std::string>& arguments,
                                            const std::string& workingFolder);

} // namespace velmora
