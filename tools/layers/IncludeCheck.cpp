#include "tools/layers/IncludeCheck.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>

namespace velmora::layers {
namespace {

namespace fs = std::filesystem;

// Hidden folders, and build trees wherever they are (their generated sources follow no map).
bool IsPassedOver(const fs::path& folder) {
    const std::string name = folder.filename().string();
    return name.starts_with(".") || name.starts_with("build") || fs::exists(folder / "CMakeCache.txt");
}

std::vector<fs::path> SourceFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && IsPassedOver(it->path())) {
            it.disable_recursion_pending();
            continue;
        }
        const fs::path extension = it->path().extension();
        if (it->is_regular_file() && (extension == ".cpp" || extension == ".h")) {
            files.push_back(it->path().lexically_relative(root));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The included file as the compiler finds it: beside the including file first, then from the root.
std::optional<fs::path> Resolve(const fs::path& root, const fs::path& file, const std::string& name) {
    for (const fs::path& candidate : {(file.parent_path() / name).lexically_normal(), fs::path(name)}) {
        if (!candidate.empty() && *candidate.begin() != ".." && fs::is_regular_file(root / candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string Listed(const std::set<std::string>& folders) {
    if (folders.empty()) {
        return "no other folder";
    }
    std::string text;
    for (const std::string& folder : folders) {
        text += (text.empty() ? "" : ", ") + folder;
    }
    return text;
}

void CheckFile(const fs::path& root, const fs::path& file, const LayerMap& map,
               std::vector<std::string>& faults) {
    const std::string from = map.FolderOf(file.generic_string());
    if (from.empty()) {
        faults.push_back(file.generic_string() + ": its folder is not on the layer map");
        return;
    }
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::ifstream in(root / file);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch match;
        if (!std::regex_search(line, match, include)) {
            continue;
        }
        const std::string where = file.generic_string() + ":" + std::to_string(number) + ": ";
        const std::string name = match[1];
        // The meta-object code that the build generates from this very file.
        if (name.ends_with(".moc")) {
            continue;
        }
        const std::optional<fs::path> included = Resolve(root, file, name);
        if (!included) {
            faults.push_back(where + "includes \"" + name + "\", which is no file of the source tree");
            continue;
        }
        const std::string to = map.FolderOf(included->generic_string());
        if (to.empty()) {
            faults.push_back(where + "includes " + included->generic_string() +
                             ", whose folder is not on the layer map");
            continue;
        }
        switch (map.Judge(from, to)) {
        case LayerMap::Verdict::Allowed:
            break;
        case LayerMap::Verdict::Upward:
            faults.push_back(where + "upward include of " + included->generic_string() + ": " + to +
                             " uses " + from);
            break;
        case LayerMap::Verdict::Sideways:
            faults.push_back(where + "sideways include of " + included->generic_string() + ": " + from +
                             " uses " + Listed(map.Uses(from)));
            break;
        }
    }
}

} // namespace

std::vector<std::string> CheckIncludes(const fs::path& root, const LayerMap& map) {
    std::vector<std::string> faults;
    const std::vector<std::string> cycle = map.FindCycle();
    if (!cycle.empty()) {
        std::string circle;
        for (const std::string& folder : cycle) {
            circle += (circle.empty() ? "" : " -> ") + folder;
        }
        faults.push_back("the layer map goes in a circle: " + circle);
    }
    for (const fs::path& file : SourceFiles(root)) {
        CheckFile(root, file, map, faults);
    }
    return faults;
}

} // namespace velmora::layers
