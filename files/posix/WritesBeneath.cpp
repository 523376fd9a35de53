#include "files/WritesBeneath.h"

#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "files/TemporaryNames.h"
#include "files/posix/FileContent.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

[[noreturn]] void Refuse(const OpenFolder& folder, const std::string& name, int error) {
    throw Error(CannotCreateMessage(folder.PathOf(name), error));
}

// Names here lie directly in the folder: one part, so that no call on the folder's descriptor can leave it.
int RefusalOfName(const OpenFolder& folder, const std::string& name) {
    if (folder.Refusal() != 0) {
        return folder.Refusal();
    }
    return name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ? EXDEV : 0;
}

// Creates a new hidden temporary for `name` exclusively, never through a link; its name in `created`.
int CreateTemporary(const OpenFolder& folder, const std::string& name, mode_t mode, std::string& created) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = NewTemporaryName(name);
        const int fd = ::openat(folder.Descriptor(), created.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

TemporaryBeneath WriteTemporaryBeneath(const OpenFolder& folder, const std::string& name,
                                       const KeptAttributes& kept, std::string_view content, bool flush) {
    if (const int refusal = RefusalOfName(folder, name)) {
        Refuse(folder, name, refusal);
    }
    TemporaryBeneath temporary{{}, TemporaryFolderClaim(folder.ClaimedName())};
    FileDescriptor file(CreateTemporary(folder, name, static_cast<mode_t>(kept.Permissions), temporary.Name));
    if (file.get() < 0) {
        Refuse(folder, name, errno);
    }
    if (!WriteKeeping(file.get(), content, kept) || (flush && ::fsync(file.get()) != 0) || !file.Close()) {
        const int error = errno;
        ::unlinkat(folder.Descriptor(), temporary.Name.c_str(), 0);
        Refuse(folder, name, error);
    }
    return temporary;
}

OpenFolder::OpenFolder(const std::string& path) : path_(path) {
    descriptor_ = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    refusal_ = descriptor_ < 0 ? errno : 0;
    struct stat info {};
    if (descriptor_ >= 0 && ::fstat(descriptor_, &info) == 0) {
        device_ = info.st_dev;
        inode_ = info.st_ino;
    }
}

bool OpenFolder::StillAtItsPath() const {
    struct stat info {};
    return descriptor_ >= 0 && ::stat(path_.empty() ? "." : path_.c_str(), &info) == 0 &&
           info.st_dev == device_ && info.st_ino == inode_;
}

OpenFolder::~OpenFolder() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::string OpenFolder::PathOf(const std::string& name) const {
    return path_.empty() || path_.back() == '/' ? path_ + name : path_ + "/" + name;
}

std::string OpenFolder::ClaimedName() const {
    return ContainingFolder(PathOf("."));
}

KeptAttributes PlanSheetBeneath(const OpenFolder& folder, const std::string& name) {
    if (const int refusal = RefusalOfName(folder, name)) {
        Refuse(folder, name, refusal);
    }
    struct stat existing {};
    if (::fstatat(folder.Descriptor(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) {
            Refuse(folder, name, errno);
        }
        return {0666 & ~CurrentUmask(), std::nullopt};
    }
    if (S_ISLNK(existing.st_mode)) {
        Refuse(folder, name, ELOOP);
    }
    if (!S_ISREG(existing.st_mode)) {
        Refuse(folder, name, EINVAL);
    }
    // Renaming over a read-only file would succeed; refuse it as writing in place would.
    if (::faccessat(folder.Descriptor(), name.c_str(), W_OK, 0) != 0) {
        Refuse(folder, name, errno);
    }
    return AttributesOf(existing);
}

BackupPlan PlanBackupBeneath(const OpenFolder& folder, const std::string& backupName,
                             const std::string& sheetName, std::uint64_t sheetSize) {
    for (const std::string* name : {&backupName, &sheetName}) {
        if (const int refusal = RefusalOfName(folder, *name)) {
            Refuse(folder, backupName, refusal);
        }
    }
    struct stat info {};
    if (::fstatat(folder.Descriptor(), backupName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(info.st_mode)) {
            Refuse(folder, backupName, S_ISDIR(info.st_mode) ? EISDIR : EEXIST);
        }
        // A read-only backup is refused as writing in place would refuse it.
        if (::faccessat(folder.Descriptor(), backupName.c_str(), W_OK, 0) != 0) {
            Refuse(folder, backupName, errno);
        }
    } else if (errno != ENOENT) {
        Refuse(folder, backupName, errno);
    }
    if (::fstatat(folder.Descriptor(), sheetName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        Refuse(folder, backupName, errno);
    }
    return {AttributesOf(info), S_ISREG(info.st_mode) && info.st_nlink == 1 &&
                                    static_cast<std::uint64_t>(info.st_size) == sheetSize};
}

std::optional<TemporaryBeneath> LinkTemporaryBeneath(const OpenFolder& folder, const std::string& sheetName,
                                                     const std::string& backupName) {
    if (RefusalOfName(folder, sheetName) != 0 || RefusalOfName(folder, backupName) != 0) {
        return std::nullopt;
    }
    TemporaryBeneath temporary{{}, TemporaryFolderClaim(folder.ClaimedName())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary.Name = NewTemporaryName(backupName);
        if (::linkat(folder.Descriptor(), sheetName.c_str(), folder.Descriptor(), temporary.Name.c_str(),
                     0) == 0) {
            return temporary;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::error_code ReplaceBeneath(const OpenFolder& folder, const std::string& temporary,
                               const std::string& name) {
    if (const int refusal = RefusalOfName(folder, name)) {
        return ErrorOf(refusal);
    }
    return ::renameat(folder.Descriptor(), temporary.c_str(), folder.Descriptor(), name.c_str()) == 0
               ? std::error_code()
               : ErrorOf(errno);
}

std::error_code RemoveTemporaryBeneath(const OpenFolder& folder, const std::string& temporary) {
    if (!IsTemporaryName(temporary) || RefusalOfName(folder, temporary) != 0) {
        return ErrorOf(EINVAL);
    }
    return ::unlinkat(folder.Descriptor(), temporary.c_str(), 0) == 0 ? std::error_code() : ErrorOf(errno);
}

std::error_code FlushOpenFolder(const OpenFolder& folder) {
    if (folder.Refusal() != 0) {
        return ErrorOf(folder.Refusal());
    }
    return ::fsync(folder.Descriptor()) == 0 ? std::error_code() : ErrorOf(errno);
}

std::error_code FlushTemporaries(const std::vector<TemporaryIn>& temporaries) {
    std::set<dev_t> synced;
    std::set<const OpenFolder*> seen;
    for (const auto& [folder, name] : temporaries) {
        if (!seen.insert(folder).second) {
            continue;
        }
        struct stat info {};
        if (folder->Refusal() != 0 || ::fstat(folder->Descriptor(), &info) != 0) {
            return ErrorOf(folder->Refusal() != 0 ? folder->Refusal() : errno);
        }
        if (synced.insert(info.st_dev).second && ::syncfs(folder->Descriptor()) != 0) {
            return ErrorOf(errno);
        }
    }
    return {};
}

} // namespace velmora
