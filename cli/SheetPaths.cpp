#include "cli/SheetPaths.h"

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
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && EndsWithCue(it->path().filename().string())) {
            found.push_back(it->path().string());
        }
    }
    if (error) {
        result.Problems.push_back(given + ": " + SystemErrorText(error.value()));
    }
    std::sort(found.begin(), found.end());
    for (const std::string& sheet : found) {
        result.Sheets.push_back(sheet);
        const fs::path below = fs::path(sheet).lexically_relative(folder);
        result.Shown.push_back((fs::path(given) / below).lexically_normal().string());
    }
}

} // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.string();
}

SheetPaths ExpandPaths(const std::vector<std::string>& paths, bool recursive) {
    SheetPaths result;
    for (const std::string& given : paths) {
        const std::string path = AbsolutePath(given);
        std::error_code ignored;
        if (recursive && fs::is_directory(path, ignored)) {
            AddSheetsBelow(path, given, result);
        } else {
            result.Sheets.push_back(path);
            result.Shown.push_back(given);
        }
    }
    return result;
}

} // namespace velmora::fix
