#include "files/posix/TemporaryFile.h"

#include "files/PathNames.h"
#include "files/StaleTemporaries.h"
#include "files/TemporaryNames.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velmora {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& target, mode_t mode, Naming naming)
    : folder_(ContainingFolder(target)), baseName_(BaseNameOf(target)), claim_(folder_) {
    if (naming == Naming::UnnamedWherePossible) {
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd_ >= 0) {
            unnamed_ = true;
            return;
        }
        // File systems without unnamed files answer with one of these; anything else is a real failure.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return;
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = folder_ + "/" + NewTemporaryName(baseName_);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        path_.clear();
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!path_.empty()) {
        ::unlink(path_.c_str());
    }
}

std::error_code TemporaryFile::FlushAndClose() {
    const int fd = fd_;
    if (unnamed_) {
        // An unnamed file is named through its descriptor, so that stays open until then.
        return ::fsync(fd) == 0 ? std::error_code() : LastError();
    }
    fd_ = -1;
    if (::fsync(fd) != 0) {
        const std::error_code error = LastError();
        ::close(fd);
        return error;
    }
    return ::close(fd) == 0 ? std::error_code() : LastError();
}

std::error_code TemporaryFile::NameBeside(const std::string& target) {
    const std::string descriptorPath = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder_ + "/" + NewTemporaryName(BaseNameOf(target));
        if (::linkat(AT_FDCWD, descriptorPath.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            path_ = candidate;
            return {};
        }
        if (errno != EEXIST) {
            return LastError();
        }
    }
    return {EEXIST, std::generic_category()};
}

std::error_code TemporaryFile::LinkAs(const std::string& to) {
    if (unnamed_) {
        const std::string descriptorPath = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, descriptorPath.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            return LastError();
        }
        return {};
    }
    // A hard link refuses an existing name, as renaming without replacing does.
    if (::link(path_.c_str(), to.c_str()) != 0) {
        return LastError();
    }
    ::unlink(path_.c_str());
    path_.clear();
    return {};
}

std::error_code TemporaryFile::ReplaceAs(const std::string& to) {
    if (unnamed_ && path_.empty()) {
        if (const std::error_code error = NameBeside(to)) {
            return error;
        }
    }
    if (::rename(path_.c_str(), to.c_str()) != 0) {
        return LastError();
    }
    path_.clear();
    return {};
}

} // namespace velmora
