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
    // One read more than the file's size tells its end in the usual case; a file that grew since it was
    // measured is read on to its end, or to the limit.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            bytes.resize(bytes.size() + (1 << 16));
        }
        const ssize_t count = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw Error(CannotOpenMessage(path, errno));
        }
        got += static_cast<std::size_t>(count);
        if (got > limit) {
            throw Error(CannotOpenMessage(path, EFBIG));
        }
        // Short of the room it had, past the size it was measured at: the end, without asking again.
        if (count == 0 || (got < bytes.size() && got >= static_cast<std::size_t>(info.st_size))) {
            break;
        }
    }
    bytes.resize(got);
    return bytes;
}

} // namespace velmora
