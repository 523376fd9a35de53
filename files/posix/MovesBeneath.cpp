#include "files/FileMoves.h"
#include "files/FolderBeneath.h"
#include "files/WritesBeneath.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmora {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

// The folder the last of `parts` lies in, opened beneath `root` through real folders only, one part at
// a time without following links: a link on the way is ELOOP, as the kernel says it.
int WalkToParent(int root, const std::vector<std::string>& parts) {
    int folder = ::fcntl(root, F_DUPFD_CLOEXEC, 0);
    for (std::size_t i = 0; folder >= 0 && i + 1 < parts.size(); ++i) {
        const int next = ::openat(folder, parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int error = errno;
        struct stat info {};
        if (next < 0 && error == ENOTDIR &&
            ::fstatat(folder, parts[i].c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
            error = ELOOP;
        }
        ::close(folder);
        folder = next;
        errno = error;
    }
    return folder;
}

// The folder the last of `parts` lies in, opened beneath `root`; -1 with errno set when it is not
// reached through real folders.
int OpenParentBeneath(int root, const std::vector<std::string>& parts) {
    if (ChosenBeneathCheck() == BeneathCheck::Kernel) {
        std::string parent = ".";
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            parent += "/" + parts[i];
        }
        open_how how{};
        how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const int folder = static_cast<int>(::syscall(SYS_openat2, root, parent.c_str(), &how, sizeof how));
        // Kernels before 5.6, and sandboxes that filter the call, leave it to the walk.
        if (folder >= 0 || (errno != ENOSYS && errno != EPERM)) {
            return folder;
        }
    }
    return WalkToParent(root, parts);
}

// A name's folder held open, and its last part.
struct Placed {
    Placed() = default;
    Placed(const Placed&) = delete;
    Placed& operator=(const Placed&) = delete;
    ~Placed() {
        if (Folder >= 0) {
            ::close(Folder);
        }
    }
    int Folder = -1;
    std::string Last;
    int Refusal = 0;
};

void Place(int root, const std::string& name, Placed& placed) {
    const std::optional<std::vector<std::string>> parts = PartsBeneath(name);
    if (!parts || parts->empty()) {
        placed.Refusal = EXDEV;
        return;
    }
    placed.Folder = OpenParentBeneath(root, *parts);
    placed.Refusal = placed.Folder < 0 ? errno : 0;
    placed.Last = parts->back();
}

std::error_code MoveFrom(int root, const std::string& folder, const std::string& from,
                         const std::string& to) {
    if (root < 0) {
        return ErrorOf(errno);
    }
    Placed source;
    Placed target;
    Place(root, from, source);
    Place(root, to, target);
    for (const int refusal : {source.Refusal, target.Refusal}) {
        if (refusal != 0) {
            return ErrorOf(refusal);
        }
    }
    struct stat info {};
    if (::fstatat(source.Folder, source.Last.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return ErrorOf(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return ErrorOf(S_ISLNK(info.st_mode) ? ELOOP : S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    if (::renameat2(source.Folder, source.Last.c_str(), target.Folder, target.Last.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return {};
    }
    // A file system without such renames, or a folder below that is another file system: both names were
    // just found beneath the folder, and the copying move checks the target itself again.
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP || errno == EXDEV) {
        const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
        return MoveFileNoReplace(base + from, base + to);
    }
    return ErrorOf(errno);
}

std::error_code RemoveFrom(int root, const std::string& name) {
    if (root < 0) {
        return ErrorOf(errno);
    }
    Placed placed;
    Place(root, name, placed);
    if (placed.Refusal != 0) {
        return ErrorOf(placed.Refusal);
    }
    struct stat info {};
    if (::fstatat(placed.Folder, placed.Last.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(info.st_mode)) {
        return ErrorOf(ELOOP);
    }
    return ::unlinkat(placed.Folder, placed.Last.c_str(), 0) == 0 ? std::error_code() : ErrorOf(errno);
}

} // namespace

std::error_code MoveBeneath(const std::string& folder, const std::string& from, const std::string& to) {
    const FileDescriptor root(
        ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return MoveFrom(root.get(), folder, from, to);
}

std::error_code RemoveBeneath(const std::string& folder, const std::string& name) {
    const FileDescriptor root(
        ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return RemoveFrom(root.get(), name);
}

std::error_code MoveBeneath(const OpenFolder& folder, const std::string& from, const std::string& to) {
    errno = folder.Refusal();
    return MoveFrom(folder.Descriptor(), folder.Path(), from, to);
}

std::error_code RemoveBeneath(const OpenFolder& folder, const std::string& name) {
    FileDescriptor root(folder.Descriptor() < 0 ? -1 : ::fcntl(folder.Descriptor(), F_DUPFD_CLOEXEC, 0));
    errno = folder.Refusal() != 0 ? folder.Refusal() : errno;
    return RemoveFrom(root.get(), name);
}

} // namespace velmora
