#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace velmora {

// Adds the paths of the regular files anywhere below `folder` (links to files included; linked folders
// are not entered) to `found`, each `folder` joined to its path below it; folders that may not be read
// are passed over. The error that ended the walk, or an empty error code.
std::error_code AddRegularFilesBelow(const std::string& folder, std::vector<std::string>& found);

} // namespace velmora
