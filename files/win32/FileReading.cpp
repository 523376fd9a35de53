#include "files/FileReading.h"

#include "errors/ErrorMessages.h"
#include "files/win32/WidePaths.h"

#include <cerrno>
#include <cstdint>

namespace velmora {

std::optional<std::string> ReadFileWhole(const std::string& path, std::size_t limit, FinalLink link) {
    // Folders open too (and are refused below), as do links themselves when they are not followed.
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (link == FinalLink::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    WinHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               flags, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        throw Error(CannotOpenMessage(path, ErrnoOf(error)));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw Error(CannotOpenMessage(path, EINVAL));
    }
    if (!GetFileInformationByHandle(file.get(), &info)) {
        throw Error(CannotOpenMessage(path, ErrnoOf(GetLastError())));
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && link == FinalLink::Refuse) {
        throw Error(CannotOpenMessage(path, EINVAL));
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw Error(CannotOpenMessage(path, EISDIR));
    }
    const std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > limit) {
        throw Error(CannotOpenMessage(path, EFBIG));
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    char chunk[1 << 16];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &count, nullptr)) {
            throw Error(CannotOpenMessage(path, ErrnoOf(GetLastError())));
        }
        if (count == 0) {
            break;
        }
        bytes.append(chunk, count);
        // The file may have grown since it was measured.
        if (bytes.size() > limit) {
            throw Error(CannotOpenMessage(path, EFBIG));
        }
    }
    return bytes;
}

} // namespace velmora
