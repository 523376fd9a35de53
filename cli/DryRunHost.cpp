#include "cli/DryRunHost.h"

#include "files/FileMoves.h"
#include "files/FileStatus.h"

#include <cerrno>

namespace velmora::fix {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
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
    if (movedIn_.count(from) == 0) {
        const EntryKind source = movedAway_.count(from) != 0 ? EntryKind::Missing : EntryKindOf(from);
        if (source == EntryKind::Missing) {
            return ErrorOf(ENOENT);
        }
        if (source != EntryKind::RegularFile) {
            return ErrorOf(source == EntryKind::Folder ? EISDIR : EINVAL);
        }
    }
    if (movedIn_.count(to) != 0 || (movedAway_.count(to) == 0 && EntryKindOf(to) != EntryKind::Missing)) {
        return ErrorOf(EEXIST);
    }
    for (const std::string& entry : {to, from}) {
        if (const int refusal = NewEntryRefusal(entry)) {
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
    if (const int refusal = NewEntryRefusal(plan.Target)) {
        throw Error(CannotCreateMessage(path, refusal));
    }
    sheetWrites_.push_back({path, Buffer().LoadedBytes(), std::string(bytes)});
}

void DryRunHost::WriteBackup(const std::string& backupPath, std::string_view, const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(backupPath, sheetPath);
    if (const int refusal = NewEntryRefusal(plan.Target)) {
        throw Error(CannotCreateMessage(backupPath, refusal));
    }
}

void DryRunHost::WriteMoveRecord(const std::string& recordPath, std::string_view,
                                 const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(recordPath, sheetPath);
    if (const int refusal = NewEntryRefusal(plan.Target)) {
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

LengthReading DryRunHost::MovedFileLengths::AudioLengthOf(const std::string& path) {
    return host_.TerminalHost::Lengths()->AudioLengthOf(host_.WherePathLies(path));
}

std::optional<std::uint64_t> DryRunHost::MovedFileLengths::FileSizeOf(const std::string& path) {
    return host_.TerminalHost::Lengths()->FileSizeOf(host_.WherePathLies(path));
}

} // namespace velmora::fix
