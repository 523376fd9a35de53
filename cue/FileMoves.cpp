#include "FileMoves.h"

#include "Error.h"
#include "FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new, empty file beside `target` with a name no one else uses, and returns its path and
// descriptor. `mode` is filtered by the umask as for any new file.
int CreateTemporaryBeside(const std::string& target, mode_t mode, std::string& temporaryPath) {
    static std::mt19937_64 random{std::random_device{}()};
    // Part of the name only, so that a name near the length limit still leaves room for the suffix.
    const std::string prefix = FolderOf(target) + "/." + BaseNameOf(target).substr(0, 200) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        temporaryPath = prefix + suffix + ".tmp";
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolderOf(const std::string& path) {
    FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

// Gives `from` the name `to` unless `to` exists; `from` then no longer has its old name.
std::error_code RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return LastError();
    // The file system cannot rename without replacing: a hard link refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0)
        return LastError();
    if (::unlink(from.c_str()) != 0) {
        const std::error_code error = LastError();
        ::unlink(to.c_str());
        return error;
    }
    return {};
}

bool CopyContent(int source, int target) {
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(source, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!WriteAll(target, std::string_view(chunk, static_cast<std::size_t>(got))))
            return false;
    }
}

std::error_code MoveAcrossFileSystems(const std::string& from, const std::string& to) {
    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (source.get() < 0)
        return LastError();
    struct stat info {};
    if (::fstat(source.get(), &info) != 0)
        return LastError();
    if (!S_ISREG(info.st_mode))
        return {EISDIR, std::generic_category()};
    if (::access(to.c_str(), F_OK) == 0)
        return {EEXIST, std::generic_category()};

    std::string temporary;
    FileDescriptor copy(CreateTemporaryBeside(to, info.st_mode & 07777, temporary));
    if (copy.get() < 0)
        return LastError();
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (!CopyContent(source.get(), copy.get()) || ::fchmod(copy.get(), info.st_mode & 07777) != 0 ||
        ::futimens(copy.get(), times) != 0 || ::fsync(copy.get()) != 0 || !copy.Close()) {
        const std::error_code error = LastError();
        ::unlink(temporary.c_str());
        return error;
    }
    if (const std::error_code error = RenameNoReplace(temporary, to)) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolderOf(to);
    if (::unlink(from.c_str()) != 0) {
        // The source could not go, so this was no move: take the copy back rather than leave two.
        const std::error_code error = LastError();
        ::unlink(to.c_str());
        return error;
    }
    return {};
}

} // namespace

std::error_code MoveFileNoReplace(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty())
        return {ENOENT, std::generic_category()};
    const std::error_code error = RenameNoReplace(from, to);
    if (error.value() == EXDEV)
        return MoveAcrossFileSystems(from, to);
    return error;
}

bool RegularFileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    // Through a symbolic link the file it points at is replaced, as writing in place would do.
    std::string target = path;
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved != nullptr) {
            target = resolved;
            std::free(resolved);
        }
    }

    mode_t mode = 0666;
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        // Renaming over a read-only file would succeed; refuse it as writing in place would.
        FileDescriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.get() < 0)
            throw Error(CannotCreateMessage(path, errno));
        if (!S_ISREG(existing.st_mode))
            throw Error(CannotCreateMessage(path, EINVAL));
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        throw Error(CannotCreateMessage(path, errno));
    }

    std::string temporary;
    FileDescriptor file(CreateTemporaryBeside(target, mode, temporary));
    if (file.get() < 0)
        throw Error(CannotCreateMessage(path, errno));
    bool written = WriteAll(file.get(), content);
    if (written && exists) {
        written = ::fchmod(file.get(), mode) == 0;
        if (written && ::fchown(file.get(), existing.st_uid, existing.st_gid) != 0)
            written = errno == EPERM;
    }
    if (!written || ::fsync(file.get()) != 0 || !file.Close() ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw Error(CannotCreateMessage(path, error));
    }
}

} // namespace velmora
