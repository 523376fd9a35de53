#include "cli/SheetPaths.h"

#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>
#include <filesystem>

namespace velmora::fix {

namespace fs = std::filesystem;

namespace {

bool EndsWithCue(const std::string& name) {
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".cue") == 0;
}

void AddSheetsBelow(const std::string& folder, const std::string& given, SheetPaths& result) {
    std::vector<std::string> found;
    std::error_code error;
    fs::recursive_directory_iterator it(PathFromUtf8(folder), fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && EndsWithCue(Utf8FromPath(it->path().filename()))) {
            found.push_back(Utf8FromPath(it->path()));
        }
    }
    if (error) {
        result.Problems.push_back(given + ": " + SystemErrorText(error.value()));
    }
    std::sort(found.begin(), found.end());
    for (const std::string& sheet : found) {
        result.Sheets.push_back(sheet);
        const fs::path below = PathFromUtf8(sheet).lexically_relative(PathFromUtf8(folder));
        result.Shown.push_back(Utf8FromPath((PathFromUtf8(given) / below).lexically_normal()));
    }
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
        std::error_code ignored;
        if (recursive && fs::is_directory(PathFromUtf8(path), ignored)) {
            AddSheetsBelow(path, given, result);
        } else {
            result.Sheets.push_back(path);
            result.Shown.push_back(given);
        }
    }
    return result;
}

} // namespace velmora::fix
