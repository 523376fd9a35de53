#pragma once

#include <string>
#include <vector>

namespace velmora {

// The names of the regular files (links followed) in `folder`, sorted; `folder` is empty for the
// current folder or ends with a separator. Nothing when the folder cannot be read.
std::vector<std::string> RegularFilesIn(const std::string& folder);

} // namespace velmora
