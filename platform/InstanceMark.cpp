#include "platform/InstanceMark.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {

std::unique_ptr<InstanceMark> InstanceMark::Acquire(const std::string& folder) {
    const std::string path = folder + "/Test.lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        throw std::runtime_error("Impossible d'ouvrir \"" + path + "\" : " + std::strerror(errno));
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK)
            return nullptr;
        throw std::runtime_error("Impossible de verrouiller \"" + path + "\" : " + std::strerror(error));
    }
    return std::unique_ptr<InstanceMark>(new InstanceMark(fd));
}

InstanceMark::~InstanceMark() {
    close(fd_);
}

} // namespace velmora
