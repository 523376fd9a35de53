#include "files/testing/ScratchFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmora::testkit {

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 on every system; Windows would read a plain string in its ANSI code page.
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

TempFolder::~TempFolder() {
    // Tests take write permission away; give it back so that everything can go.
#ifdef _WIN32
    // The file system library would follow them and empty the folders they lead to.
    RemoveLinuxLinksBelow(path_);
#endif
    std::error_code ignored;
    fs::permissions(PathOf(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::recursive_directory_iterator it(PathOf(path_), ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(PathOf(path_), ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return std::move(content).str();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(folder))) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace velmora::testkit
