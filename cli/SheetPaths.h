#pragma once

#include "files/FileStatus.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::fix {

struct SheetPaths {
    std::vector<std::string> Sheets;
    // Each sheet as its lines show it: the PATH as given, or below a folder given with --recursive,
    // that folder as given followed by the path below it.
    std::vector<std::string> Shown;
    // Set for a sheet found below a folder that is a link: it is not followed, as find does not.
    std::vector<bool> SkippedLinks;
    // What the listing found each sheet itself to be, for the storage to remember; nothing where it did
    // not look or found a link.
    std::vector<std::optional<EntryKind>> Kinds;
    // Folders that could not be read, as "<folder>: <system text>".
    std::vector<std::string> Problems;
};

// The path made absolute against the working folder; an empty path, or one that cannot be made
// absolute, stays as it is.
std::string AbsolutePath(const std::string& path);

// Each PATH made absolute, in the order given, a link resolved to the file it leads to, so that the sheet
// is repaired where it really lies; with `recursive`, a folder stands for every file ending in ".cue"
// below it, sorted by path, links among them marked to be skipped.
SheetPaths ExpandPaths(const std::vector<std::string>& paths, bool recursive);

} // namespace velmora::fix
