#include "files/posix/FileContent.h"

#include <cerrno>
#include <unistd.h>

namespace velmora {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

KeptAttributes AttributesOf(const struct stat& info) {
    return {info.st_mode & 07777, std::pair<std::uint32_t, std::uint32_t>{info.st_uid, info.st_gid}};
}

bool WriteKeeping(int fd, std::string_view content, const KeptAttributes& kept) {
    if (!WriteAll(fd, content)) {
        return false;
    }
    // The owner first: giving a file away may clear mode bits that the mode then puts back. Someone
    // else's owner is kept only where we may give it.
    const std::optional<std::pair<std::uint32_t, std::uint32_t>>& owner = kept.Owner;
    if (owner && ::fchown(fd, owner->first, owner->second) != 0 && errno != EPERM) {
        return false;
    }
    // The umask may have taken bits of the mode away; setting it is one call, asking for the umask two.
    return ::fchmod(fd, static_cast<mode_t>(kept.Permissions)) == 0;
}

} // namespace velmora
