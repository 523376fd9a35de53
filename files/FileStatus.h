#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

enum class EntryKind { Missing, RegularFile, Folder, Other };

// What the path itself names, a last link not followed (a link is Other); Missing when it cannot be
// looked at.
EntryKind EntryKindOf(const std::string& path);

// The size of the regular file the path names, links followed; nothing for anything else.
std::optional<std::uint64_t> RegularFileSize(const std::string& path);

// True when the path names a folder, links followed.
bool FolderExists(const std::string& path);

// Why no new entry could be made beside `path`: its folder missing (ENOENT), no folder (ENOTDIR) or
// not writable (EACCES), as an errno value; 0 when nothing stands in the way.
int NewEntryRefusal(const std::string& path);

} // namespace velmora
