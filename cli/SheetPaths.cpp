#include "cli/SheetPaths.h"

#include "files/FileStatus.h"
#include "files/FolderTree.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace velmora::fix {

namespace fs = std::filesystem;

namespace {

bool EndsWithCue(const std::string& name) {
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".cue") == 0;
}

void AddSheetsBelow(const std::string& folder, const std::string& given, SheetPaths& result) {
    std::vector<std::string> files;
    const std::error_code error = AddRegularFilesBelow(folder, files);
    std::vector<std::string> found;
    std::copy_if(files.begin(), files.end(), std::back_inserter(found), EndsWithCue);
    if (error) {
        result.Problems.push_back(given + ": " + SystemErrorText(error.value()));
    }
    std::sort(found.begin(), found.end());
    for (const std::string& sheet : found) {
        result.Sheets.push_back(sheet);
        const EntryKind kind = EntryKindOf(sheet);
        result.SkippedLinks.push_back(kind != EntryKind::RegularFile);
        result.Kinds.emplace_back(kind);
        const fs::path below = PathFromUtf8(sheet).lexically_relative(PathFromUtf8(folder));
        // "/" between folders on every system, so that rows read alike wherever they were made.
        std::string shown = Utf8FromPath((PathFromUtf8(given) / below).lexically_normal());
        if constexpr (fs::path::preferred_separator != '/') {
            std::replace(shown.begin(), shown.end(), '\\', '/');
        }
        result.Shown.push_back(std::move(shown));
    }
}

// A named sheet as it is listed: a link by its target, every link on its way resolved (what the name
// itself is then goes unremembered); anything else as it is, with its kind.
void AddNamedSheet(const std::string& path, const std::string& given, SheetPaths& result) {
    const EntryKind kind = EntryKindOf(path);
    std::error_code error;
    const fs::path target =
        kind == EntryKind::Other ? fs::canonical(PathFromUtf8(path), error) : PathFromUtf8(path);
    const bool link = kind == EntryKind::Other && !error;
    result.Sheets.push_back(link ? Utf8FromPath(target) : path);
    result.Kinds.push_back(link ? std::nullopt : std::optional<EntryKind>(kind));
    result.Shown.push_back(given);
    result.SkippedLinks.push_back(false);
}

} // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(PathFromUtf8(path), error);
    return error ? path : Utf8FromPath(absolute);
}

SheetPaths ExpandPaths(const std::vector<std::string>& paths, bool recursive) {
    SheetPaths result;
    for (const std::string& given : paths) {
        const std::string path = AbsolutePath(given);
        if (recursive && FolderExists(path)) {
            AddSheetsBelow(path, given, result);
        } else {
            AddNamedSheet(path, given, result);
        }
    }
    return result;
}

} // namespace velmora::fix
