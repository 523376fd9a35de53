#include "HostileFolders.h"

#include <filesystem>

namespace velmora::fix {

namespace fs = std::filesystem;

void WriteBelow(const testkit::TempFolder& root, const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(root / name).parent_path());
    testkit::WriteFile(root / name, bytes);
}

void LinkBelow(const testkit::TempFolder& root, const std::string& name, const std::string& target) {
    fs::create_directories(fs::path(root / name).parent_path());
    fs::create_symlink(target, root / name);
}

std::string LinkTarget(const std::string& path) {
    std::error_code error;
    return fs::is_symlink(path, error) ? fs::read_symlink(path, error).string() : "(no link)";
}

std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string below = entry.path().lexically_relative(root).string();
        if (entry.is_symlink()) {
            entries[below] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            entries[below] = testkit::ReadFile(entry.path().string());
        } else {
            entries[below] = entry.is_directory() ? "folder" : "other";
        }
    }
    return entries;
}

std::set<std::string> TemporaryNamesBelow(const std::string& root) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename().string().find(".tmp") != std::string::npos) {
            names.insert(entry.path().lexically_relative(root).string());
        }
    }
    return names;
}

} // namespace velmora::fix
