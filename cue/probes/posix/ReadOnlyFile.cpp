#include "cue/probes/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

ReadOnlyFile::ReadOnlyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return;
    }
    if (fd >= 0) {
        handle_ = fd;
        open_ = true;
        size_ = static_cast<std::uint64_t>(info.st_size);
    }
}

ReadOnlyFile::~ReadOnlyFile() {
    if (open_ && owned_) {
        ::close(static_cast<int>(handle_));
    }
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
    std::size_t filled = 0;
    while (open_ && filled < count) {
        const ssize_t read = ::pread(static_cast<int>(handle_), out + filled, count - filled,
                                     static_cast<off_t>(offset + filled));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            break;
        }
        filled += static_cast<std::size_t>(read);
    }
    return filled;
}

} // namespace velmora
