#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace velmora {

// Puts the data of files written and closed earlier on disk, with their folders' entries. Linux flushes
// each file system that holds one of them once, instead of one flush per file. The first failure.
std::error_code FlushToDisk(const std::vector<std::string>& files);

} // namespace velmora
