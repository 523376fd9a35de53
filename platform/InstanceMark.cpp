#include "platform/InstanceMark.h"

#include "messages/Messages.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {

std::unique_ptr<InstanceMark> InstanceMark::Acquire(const std::string& folder) {
    const std::string path = folder + "/Test.lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        throw std::runtime_error(Localized("Cannot open \"%s\": %s", {path, SystemErrorText(errno)}));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            return nullptr;
        }
        throw std::runtime_error(Localized("Cannot lock \"%s\": %s", {path, SystemErrorText(error)}));
    }
    return std::unique_ptr<InstanceMark>(new InstanceMark(fd));
}

InstanceMark::~InstanceMark() {
    close(fd_);
}

} // namespace velmora
