#include "files/FolderEntries.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace velmora {

std::vector<std::string> RegularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
    if (directory == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (::stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            names.push_back(name);
        }
    }
    ::closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace velmora
