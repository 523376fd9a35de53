#include "files/FileReading.h"

#include "errors/ErrorMessages.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::optional<std::string> ReadFileWhole(const std::string& path, std::size_t limit, FinalLink link) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below as no regular file.
    const int noFollow = link == FinalLink::Refuse ? O_NOFOLLOW : 0;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow));
    if (file.get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw Error(CannotOpenMessage(path, errno == ELOOP ? EINVAL : errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw Error(CannotOpenMessage(path, errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw Error(CannotOpenMessage(path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL));
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        throw Error(CannotOpenMessage(path, EFBIG));
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw Error(CannotOpenMessage(path, errno));
        }
        if (count == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
        // The file may have grown since it was measured.
        if (bytes.size() > limit) {
            throw Error(CannotOpenMessage(path, EFBIG));
        }
    }
    return bytes;
}

} // namespace velmora
