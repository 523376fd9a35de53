#include "files/FileStatus.h"

#include "files/PathNames.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

EntryKind EntryKindOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return EntryKind::Missing;
    }
    if (S_ISREG(info.st_mode)) {
        return EntryKind::RegularFile;
    }
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

std::optional<std::uint64_t> RegularFileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int NewEntryRefusal(const std::string& path) {
    const std::string folder = ContainingFolder(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ENOTDIR;
    }
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

} // namespace velmora
