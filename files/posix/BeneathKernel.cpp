#include "files/BeneathKernel.h"

#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmora {

std::optional<int> KernelRefusalBeneath(const std::string& folder, const std::string& parent,
                                        const std::string& last) {
    const FileDescriptor root(
        ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0) {
        return errno;
    }
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const FileDescriptor beneath(static_cast<int>(
        ::syscall(SYS_openat2, root.get(), parent.empty() ? "." : parent.c_str(), &how, sizeof how)));
    if (beneath.get() < 0) {
        // Kernels before 5.6, and sandboxes that filter the call, leave it to the walk.
        if (errno == ENOSYS || errno == EPERM) {
            return std::nullopt;
        }
        return errno;
    }
    struct stat info {};
    if (::fstatat(beneath.get(), last.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return S_ISLNK(info.st_mode) ? ELOOP : 0;
    }
    return errno == ENOENT ? 0 : errno;
}

} // namespace velmora
