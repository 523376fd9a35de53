#include "files/win32/TemporaryFile.h"

#include "files/PathNames.h"
#include "files/StaleTemporaries.h"
#include "files/TemporaryNames.h"
#include "files/win32/HandlesBeneath.h"

namespace velmora {
namespace {

const FILETIME kProcessStart = [] {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return now;
}();

} // namespace

HANDLE CreateHiddenBeside(const std::string& target, DWORD attributes, std::string& path) {
    const std::size_t separator = LastSeparator(target);
    const std::string folder = separator == std::string::npos ? "" : target.substr(0, separator + 1);
    const std::string baseName = separator == std::string::npos ? target : target.substr(separator + 1);
    SweepStaleTemporaries(ContainingFolder(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + NewTemporaryName(baseName);
        const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    path.clear();
    return INVALID_HANDLE_VALUE;
}

void SweepStaleTemporaries(const std::string& folder) {
    if (!FirstSweepOf(folder)) {
        return;
    }
    const std::string prefix =
        folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(WidePath(prefix + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = Utf8FromWide(entry.cFileName);
        const DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if (IsTemporaryName(name) && (entry.dwFileAttributes & notAFile) == 0 &&
            CompareFileTime(&entry.ftLastWriteTime, &kProcessStart) < 0) {
            // A living run holds its temporaries open without sharing their deletion, so this open
            // fails for them and succeeds only for what a run that is gone left behind.
            WinHandle stale(CreateFileW(WidePath(prefix + name).c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            if (stale.valid()) {
                RemoveByHandle(stale.get());
            }
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

} // namespace velmora
