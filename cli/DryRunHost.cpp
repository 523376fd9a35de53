#include "cli/DryRunHost.h"

#include "files/TemporaryFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::fix {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

// What writing a new directory entry for `path` would meet: a missing or unwritable folder.
int FolderRefusal(const std::string& path) {
    struct stat folder {};
    if (::stat(ContainingFolder(path).c_str(), &folder) != 0) {
        return errno;
    }
    if (!S_ISDIR(folder.st_mode)) {
        return ENOTDIR;
    }
    return ::access(ContainingFolder(path).c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

} // namespace

void DryRunHost::BeginRun() {
    TerminalHost::BeginRun();
    sheetWrites_.clear();
    moves_.clear();
}

bool DryRunHost::FileExists(const std::string& path) {
    if (movedAway_.count(path) != 0) {
        return false;
    }
    return movedIn_.count(path) != 0 || TerminalHost::FileExists(path);
}

std::error_code DryRunHost::MoveFile(const std::string& from, const std::string& to) {
    struct stat source {};
    if (movedIn_.count(from) == 0) {
        if (movedAway_.count(from) != 0 || ::lstat(from.c_str(), &source) != 0) {
            return ErrorOf(ENOENT);
        }
        if (!S_ISREG(source.st_mode)) {
            return ErrorOf(S_ISDIR(source.st_mode) ? EISDIR : EINVAL);
        }
    }
    struct stat target {};
    if (movedIn_.count(to) != 0 || (movedAway_.count(to) == 0 && ::lstat(to.c_str(), &target) == 0)) {
        return ErrorOf(EEXIST);
    }
    for (const std::string& entry : {to, from}) {
        if (const int refusal = FolderRefusal(entry)) {
            return ErrorOf(refusal);
        }
    }
    movedIn_.erase(from);
    movedAway_.insert(from);
    movedAway_.erase(to);
    movedIn_.insert(to);
    sources_[to] = WherePathLies(from);
    sources_.erase(from);
    moves_.push_back({from, to});
    return {};
}

// The real write's own checks, then the one thing they leave to writing: a new file in the target's folder.
void DryRunHost::WriteSheet(const std::string& path, std::string_view bytes) {
    const WritePlan plan = PlanFileWrite(path);
    if (const int refusal = FolderRefusal(plan.Target)) {
        throw Error(CannotCreateMessage(path, refusal));
    }
    sheetWrites_.push_back({path, Buffer().LoadedBytes(), std::string(bytes)});
}

void DryRunHost::WriteBackup(const std::string& backupPath, std::string_view, const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(backupPath, sheetPath);
    if (const int refusal = FolderRefusal(plan.Target)) {
        throw Error(CannotCreateMessage(backupPath, refusal));
    }
}

void DryRunHost::WriteMoveRecord(const std::string& recordPath, std::string_view,
                                 const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(recordPath, sheetPath);
    if (const int refusal = FolderRefusal(plan.Target)) {
        throw Error(CannotCreateMessage(recordPath, refusal));
    }
}

LengthReader* DryRunHost::Lengths() {
    return TerminalHost::Lengths() == nullptr ? nullptr : &movedLengths_;
}

const std::string& DryRunHost::WherePathLies(const std::string& path) const {
    const auto source = sources_.find(path);
    return source == sources_.end() ? path : source->second;
}

std::optional<AudioLength> DryRunHost::MovedFileLengths::AudioLengthOf(const std::string& path) {
    return host_.TerminalHost::Lengths()->AudioLengthOf(host_.WherePathLies(path));
}

std::optional<std::uint64_t> DryRunHost::MovedFileLengths::FileSizeOf(const std::string& path) {
    return host_.TerminalHost::Lengths()->FileSizeOf(host_.WherePathLies(path));
}

} // namespace velmora::fix
