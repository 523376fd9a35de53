#pragma once

#include <string>
#include <vector>

namespace velmora::fix {

// velmora-fix itself, whatever the system hands the arguments over in: the arguments after the
// program's name, in UTF-8 (bytes as they are where the system's names are bytes). Returns the exit
// status.
int RunProgram(const std::vector<std::string>& arguments, bool errIsTerminal);

} // namespace velmora::fix
