#include "files/FolderTree.h"

#include "files/FileMoves.h"
#include "files/win32/WidePaths.h"

namespace velmora {
namespace {

// The walk goes through the wide calls, so folders nested past MAX_PATH are walked too.
std::error_code AddBelow(const std::string& folder, std::vector<std::string>& found, bool top) {
    const std::string prefix = folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(WidePath(prefix + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder below that may not be read is passed over, as an empty one is.
        if (!top && error == ERROR_ACCESS_DENIED) {
            return {};
        }
        return {ErrnoOf(error), std::generic_category()};
    }
    std::error_code error;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::string path = prefix + Utf8FromWide(name);
        const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (!link) {
                error = AddBelow(path, found, false);
            }
        } else if (!link || RegularFileExists(path)) {
            found.push_back(path);
        }
    } while (!error && FindNextFileW(search, &entry));
    FindClose(search);
    return error;
}

} // namespace

std::error_code AddRegularFilesBelow(const std::string& folder, std::vector<std::string>& found) {
    return AddBelow(folder, found, true);
}

} // namespace velmora
