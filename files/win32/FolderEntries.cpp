#include "files/FolderEntries.h"

#include "files/FileMoves.h"
#include "files/win32/WidePaths.h"

#include <algorithm>

namespace velmora {

std::vector<std::string> RegularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(WidePath(folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string name = Utf8FromWide(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        // A link counts as what it points at.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
            RegularFileExists(folder + name)) {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace velmora
