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
        result.SkippedLinks.push_back(EntryKindOf(sheet) != EntryKind::RegularFile);
        const fs::path below = PathFromUtf8(sheet).lexically_relative(PathFromUtf8(folder));
        // "/" between folders on every system, so that rows read alike wherever they were made.
        std::string shown = Utf8FromPath((PathFromUtf8(given) / below).lexically_normal());
        if constexpr (fs::path::preferred_separator != '/') {
            std::replace(shown.begin(), shown.end(), '\\', '/');
        }
        result.Shown.push_back(std::move(shown));
    }
}

// A named link's target, every link on its way resolved; anything else as it is.
std::string WhereItLies(const std::string& path) {
    std::error_code error;
    if (!fs::is_symlink(PathFromUtf8(path), error)) {
        return path;
    }
    const fs::path target = fs::canonical(PathFromUtf8(path), error);
    return error ? path : Utf8FromPath(target);
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
            result.Sheets.push_back(WhereItLies(path));
            result.Shown.push_back(given);
            result.SkippedLinks.push_back(false);
        }
    }
    return result;
}

} // namespace velmora::fix
