#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velmora {

// Whether a path whose last part is a link is read through it or refused.
enum class FinalLink { Follow, Refuse };

// Reads a regular file whole. Nothing when the path names nothing; Error "Cannot open file ..." when it
// is a folder (EISDIR), no regular file or a refused link (EINVAL), larger than `limit` (EFBIG), or
// cannot be read. A FIFO never blocks the open.
std::optional<std::string> ReadFileWhole(const std::string& path, std::size_t limit, FinalLink link);

} // namespace velmora
