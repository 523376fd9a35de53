#include "files/FileStatus.h"

#include "files/PathNames.h"
#include "files/win32/WidePaths.h"

#include <cerrno>

namespace velmora {

EntryKind EntryKindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryKind::Missing;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return EntryKind::Other;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder : EntryKind::RegularFile;
}

std::optional<std::uint64_t> RegularFileSize(const std::string& path) {
    WinHandle file(CreateFileW(WidePath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool FolderExists(const std::string& path) {
    WinHandle folder(CreateFileW(WidePath(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return folder.valid() && GetFileInformationByHandle(folder.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int NewEntryRefusal(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(ContainingFolder(path)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ErrnoOf(GetLastError());
    }
    // A folder's read-only attribute forbids nothing; what its access list forbids shows when writing.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ENOTDIR;
}

} // namespace velmora
