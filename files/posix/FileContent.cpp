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
    const auto mode = static_cast<mode_t>(kept.Permissions);
    if (!WriteAll(fd, content)) {
        return false;
    }
    // The umask may have taken bits of the mode away; the owner is ours unless it is someone else's.
    if ((mode & CurrentUmask()) != 0 && ::fchmod(fd, mode) != 0) {
        return false;
    }
    const std::optional<std::pair<std::uint32_t, std::uint32_t>>& owner = kept.Owner;
    if (owner && (owner->first != ::geteuid() || owner->second != ::getegid()) &&
        ::fchown(fd, owner->first, owner->second) != 0) {
        return errno == EPERM;
    }
    return true;
}

} // namespace velmora
