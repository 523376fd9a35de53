#include "files/FileMoves.h"

#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "files/posix/FileContent.h"
#include "files/posix/FileDescriptor.h"
#include "files/posix/TemporaryFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

std::error_code SyncFolderOf(const std::string& path) {
    return SyncFolder(ContainingFolder(path));
}

// Gives `from` the name `to` unless `to` exists; `from` then no longer has its old name.
std::error_code RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return LastError();
    }
    // The file system cannot rename without replacing: a hard link refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return LastError();
    }
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
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!WriteAll(target, std::string_view(chunk, static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

std::error_code MoveAcrossFileSystems(const std::string& from, const std::string& to) {
    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (source.get() < 0) {
        return LastError();
    }
    struct stat info {};
    if (::fstat(source.get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return ErrorOf(EISDIR);
    }
    if (::access(to.c_str(), F_OK) == 0) {
        return ErrorOf(EEXIST);
    }

    TemporaryFile copy(to, info.st_mode & 07777, TemporaryFile::Naming::UnnamedWherePossible);
    if (copy.Descriptor() < 0) {
        return LastError();
    }
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (!CopyContent(source.get(), copy.Descriptor()) ||
        ::fchmod(copy.Descriptor(), info.st_mode & 07777) != 0 || ::futimens(copy.Descriptor(), times) != 0) {
        return LastError();
    }
    if (const std::error_code error = copy.FlushAndClose()) {
        return error;
    }
    if (const std::error_code error = copy.LinkAs(to)) {
        return error;
    }
    // The source goes only once the copy is known to be on disk under its new name.
    if (const std::error_code error = SyncFolderOf(to)) {
        ::unlink(to.c_str());
        return error;
    }
    if (::unlink(from.c_str()) != 0) {
        // The source could not go, so this was no move: take the copy back rather than leave two.
        const std::error_code error = LastError();
        ::unlink(to.c_str());
        return error;
    }
    return {};
}

mode_t ModeOf(const WritePlan& plan) {
    return static_cast<mode_t>(plan.Kept.Permissions);
}

// Writes `content` into `file` with the plan's mode and owner. Throws the error for the shown path.
void WriteContent(TemporaryFile& file, std::string_view content, const WritePlan& plan) {
    if (file.Descriptor() < 0) {
        throw Error(CannotCreateMessage(plan.ShownPath, errno));
    }
    const bool written = WriteKeeping(file.Descriptor(), content, plan.Kept);
    if (!written) {
        throw Error(CannotCreateMessage(plan.ShownPath, errno));
    }
}

void WriteNow(const WritePlan& plan, std::string_view content) {
    TemporaryFile file(plan.Target, ModeOf(plan));
    WriteContent(file, content, plan);
    std::error_code error = file.FlushAndClose();
    if (!error) {
        error = file.ReplaceAs(plan.Target);
    }
    if (error) {
        throw Error(CannotCreateMessage(plan.ShownPath, error.value()));
    }
    // The new name is only safe once the folder that holds it is on disk too.
    if (const std::error_code folderError = SyncFolderOf(plan.Target)) {
        throw Error(CannotCreateMessage(plan.ShownPath, folderError.value()));
    }
}

} // namespace

std::error_code MoveFileNoReplace(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return ErrorOf(ENOENT);
    }
    struct stat source {};
    if (::lstat(from.c_str(), &source) != 0) {
        return LastError();
    }
    if (!S_ISREG(source.st_mode)) {
        return ErrorOf(S_ISDIR(source.st_mode) ? EISDIR : EINVAL);
    }
    const std::error_code error = RenameNoReplace(from, to);
    if (error.value() == EXDEV) {
        return MoveAcrossFileSystems(from, to);
    }
    return error;
}

std::error_code RenameReplacing(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? std::error_code() : LastError();
}

bool RegularFileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

WritePlan PlanFileWrite(const std::string& path) {
    WritePlan plan{path, {0666, std::nullopt}, path};
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved != nullptr) {
            plan.Target = resolved;
            std::free(resolved);
        }
    }
    struct stat existing {};
    if (::stat(plan.Target.c_str(), &existing) == 0) {
        // Renaming over a read-only file would succeed; refuse it as writing in place would.
        FileDescriptor probe(::open(plan.Target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.get() < 0) {
            throw Error(CannotCreateMessage(path, errno));
        }
        if (!S_ISREG(existing.st_mode)) {
            throw Error(CannotCreateMessage(path, EINVAL));
        }
        plan.Kept = AttributesOf(existing);
    } else if (errno != ENOENT) {
        throw Error(CannotCreateMessage(path, errno));
    } else {
        plan.Kept.Permissions = 0666 & ~CurrentUmask();
    }
    return plan;
}

WritePlan PlanBackupWrite(const std::string& backupPath, const std::string& sheetPath) {
    CheckBackupPath(backupPath);
    struct stat sheet {};
    if (::stat(sheetPath.c_str(), &sheet) != 0) {
        throw Error(CannotCreateMessage(backupPath, errno));
    }
    return {backupPath, AttributesOf(sheet), backupPath};
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    WriteNow(PlanFileWrite(path), content);
}

void CheckBackupPath(const std::string& backupPath) {
    struct stat info {};
    if (::lstat(backupPath.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return;
        }
        throw Error(CannotCreateMessage(backupPath, errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw Error(CannotCreateMessage(backupPath, S_ISDIR(info.st_mode) ? EISDIR : EEXIST));
    }
    // A read-only backup is refused as writing in place would refuse it.
    if (::access(backupPath.c_str(), W_OK) != 0) {
        throw Error(CannotCreateMessage(backupPath, errno));
    }
}

void WriteBackupFile(const std::string& backupPath, std::string_view content, const std::string& sheetPath) {
    WriteNow(PlanBackupWrite(backupPath, sheetPath), content);
}

std::error_code SyncFolder(const std::string& folder) {
    FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.get() < 0 || ::fsync(handle.get()) != 0) {
        return LastError();
    }
    return {};
}

bool IsOutsideFolder(const std::string& path, const std::string& folder) {
    char* resolvedFolder = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    char* resolvedParent = ::realpath(ContainingFolder(path).c_str(), nullptr);
    bool outside = false;
    if (resolvedFolder != nullptr && resolvedParent != nullptr) {
        std::string outer = resolvedFolder;
        const std::string inner = std::string(resolvedParent) + '/';
        if (outer.back() != '/') {
            outer += '/';
        }
        outside = inner.compare(0, outer.size(), outer) != 0;
    }
    std::free(resolvedFolder);
    std::free(resolvedParent);
    return outside;
}

} // namespace velmora
