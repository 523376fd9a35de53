#pragma once

#include "tools/layers/LayerMap.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::layers {

// Checks every quoted include of the .cpp and .h files below `root` against the map, and returns one
// message per fault, "path:line: ..." with paths from the root: an include that reaches upward or
// sideways, one that names no file of the tree, a file whose folder has no entry, a circle in the map.
// Folders whose names start with "." or "build", and build trees (a CMakeCache.txt), are passed over.
std::vector<std::string> CheckIncludes(const std::filesystem::path& root, const LayerMap& map);

} // namespace velmora::layers
