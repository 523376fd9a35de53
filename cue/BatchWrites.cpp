#include "cue/BatchWrites.h"

#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "files/TemporaryFile.h"
#include "files/posix/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

// Flushes every file system that holds one of the folders: the temporaries' data and names reach the
// disk in one go instead of one flush per file. The first failure, or 0.
int SyncFileSystemsOf(const std::set<std::string>& folders) {
    std::set<dev_t> synced;
    for (const std::string& folder : folders) {
        FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (handle.get() < 0 || ::fstat(handle.get(), &info) != 0) {
            return errno;
        }
        if (synced.insert(info.st_dev).second && ::syncfs(handle.get()) != 0) {
            return errno;
        }
    }
    return 0;
}

} // namespace

BatchWrites::~BatchWrites() {
    Discard();
}

void BatchWrites::Discard() {
    for (const Staged& staged : staged_) {
        if (!staged.Temporary.empty()) {
            ::unlink(staged.Temporary.c_str());
        }
    }
    staged_.clear();
}

void BatchWrites::StageSheet(std::size_t sheet, const std::string& path, std::string_view content) {
    const WritePlan plan = PlanFileWrite(path);
    staged_.push_back({sheet, false, WriteHiddenTemporary(plan, content), plan.Target, path});
}

void BatchWrites::StageBackup(std::size_t sheet, const std::string& backupPath, std::string_view content,
                              const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(backupPath, sheetPath);
    staged_.push_back({sheet, true, WriteHiddenTemporary(plan, content), plan.Target, backupPath});
}

bool BatchWrites::Stages(const std::string& path) const {
    return std::any_of(staged_.begin(), staged_.end(),
                       [&](const Staged& staged) { return staged.Path == path || staged.Target == path; });
}

std::map<std::size_t, std::string> BatchWrites::Commit() {
    std::map<std::size_t, std::string> failures;
    std::set<std::string> folders;
    for (const Staged& staged : staged_) {
        folders.insert(ContainingFolder(staged.Target));
    }
    if (const int error = SyncFileSystemsOf(folders)) {
        for (const Staged& staged : staged_) {
            failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, error));
        }
    }

    // Backups first, and on disk before any sheet is replaced.
    for (const bool backups : {true, false}) {
        std::set<std::string> renamedInto;
        for (Staged& staged : staged_) {
            if (staged.Backup != backups || failures.count(staged.Sheet) != 0) {
                continue;
            }
            if (::rename(staged.Temporary.c_str(), staged.Target.c_str()) != 0) {
                failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, errno));
                continue;
            }
            staged.Temporary.clear();
            renamedInto.insert(ContainingFolder(staged.Target));
        }
        for (const std::string& folder : renamedInto) {
            SyncFolder(folder);
        }
    }
    Discard();
    return failures;
}

} // namespace velmora
