#include "cli/DryRunStorage.h"

#include "cue/repair/Repair.h"
#include "cue/text/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "files/PathNames.h"

#include <algorithm>
#include <cerrno>

namespace velmora::fix {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

// The one check the real write's plan leaves to writing: a new file in the target's folder.
void CheckNewEntry(const std::string& target, const std::string& shownPath) {
    if (const int refusal = NewEntryRefusal(target)) {
        throw Error(CannotCreateMessage(shownPath, refusal));
    }
}

} // namespace

EntryKind DryRunStorage::KindOf(const std::string& path) {
    if (written_.count(path) != 0 || movedIn_.count(path) != 0) {
        return EntryKind::RegularFile;
    }
    return gone_.count(path) != 0 ? EntryKind::Missing : disk_.KindOf(path);
}

bool DryRunStorage::FileExists(const std::string& path) {
    if (written_.count(path) != 0 || movedIn_.count(path) != 0) {
        return true;
    }
    return gone_.count(path) == 0 && disk_.FileExists(path);
}

std::optional<std::uint64_t> DryRunStorage::FileSize(const std::string& path) {
    if (const auto written = written_.find(path); written != written_.end()) {
        return written->second.size();
    }
    return gone_.count(path) != 0 ? std::nullopt : disk_.FileSize(WherePathLies(path));
}

std::vector<std::string> DryRunStorage::RegularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (std::string& name : disk_.RegularFilesIn(folder)) {
        if (gone_.count(folder + name) == 0) {
            names.push_back(std::move(name));
        }
    }
    for (const auto* kept : {&written_, &movedIn_}) {
        for (const auto& [path, unused] : *kept) {
            if (FolderPart(path) == folder) {
                names.emplace_back(FileNamePart(path));
            }
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::optional<std::string> DryRunStorage::ReadFile(const std::string& path, std::size_t limit,
                                                   FinalLink link) {
    if (const auto written = written_.find(path); written != written_.end()) {
        return written->second;
    }
    if (gone_.count(path) != 0) {
        return std::nullopt;
    }
    return disk_.ReadFile(WherePathLies(path), limit, link);
}

std::error_code DryRunStorage::MoveFile(const std::string& from, const std::string& to) {
    const EntryKind source = KindOf(from);
    if (source == EntryKind::Missing) {
        return ErrorOf(ENOENT);
    }
    if (source != EntryKind::RegularFile) {
        return ErrorOf(source == EntryKind::Folder ? EISDIR : EINVAL);
    }
    if (KindOf(to) != EntryKind::Missing) {
        return ErrorOf(EEXIST);
    }
    const bool fromInside =
        gone_.count(from) == 0 && movedIn_.count(from) == 0 && disk_.RefusalOf(from) != EXDEV;
    for (const int refusal : {disk_.RefusalOf(to), fromInside ? disk_.RefusalOf(from) : 0,
                              NewEntryRefusal(to), NewEntryRefusal(from)}) {
        if (refusal != 0) {
            return ErrorOf(refusal);
        }
    }
    const std::string lies = WherePathLies(from);
    movedIn_.erase(from);
    gone_.insert(from);
    gone_.erase(to);
    movedIn_[to] = lies;
    moves_.push_back({from, to});
    return {};
}

void DryRunStorage::WriteSheet(const std::string& path, std::string_view bytes) {
    if (const int refusal = disk_.RefusalOf(path)) {
        throw Error(CannotCreateMessage(path, refusal));
    }
    if (written_.count(path) == 0) {
        CheckNewEntry(PlanFileWrite(path).Target, path);
    }
    std::string before = ReadFile(path, TextBuffer::kLargestSheet, FinalLink::Follow).value_or(std::string());
    sheetWrites_.push_back({path, std::move(before), std::string(bytes)});
    KeepFile(path, bytes);
}

void DryRunStorage::WriteBackup(const std::string& backupPath, std::string_view bytes,
                                const std::string& sheetPath) {
    KeepBesideSheet(backupPath, bytes, sheetPath);
}

void DryRunStorage::WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                                    const std::string& sheetPath) {
    KeepBesideSheet(recordPath, bytes, sheetPath);
}

void DryRunStorage::CheckBackupPath(const std::string& path) {
    if (written_.count(path) == 0) {
        disk_.CheckBackupPath(path);
    }
}

std::error_code DryRunStorage::RemoveFile(const std::string& path) {
    if (const int refusal = disk_.RefusalOf(path)) {
        return ErrorOf(refusal);
    }
    if (KindOf(path) == EntryKind::Missing) {
        return ErrorOf(ENOENT);
    }
    written_.erase(path);
    movedIn_.erase(path);
    gone_.insert(path);
    return {};
}

const std::string& DryRunStorage::WherePathLies(const std::string& path) const {
    const auto moved = movedIn_.find(path);
    return moved == movedIn_.end() ? path : moved->second;
}

void DryRunStorage::ForgetRunLog() {
    sheetWrites_.clear();
    moves_.clear();
}

void DryRunStorage::KeepFile(const std::string& path, std::string_view bytes) {
    written_[path] = std::string(bytes);
    movedIn_.erase(path);
    gone_.erase(path);
}

void DryRunStorage::KeepBesideSheet(const std::string& path, std::string_view bytes,
                                    const std::string& sheetPath) {
    if (written_.count(path) == 0) {
        disk_.CheckBackupPath(path);
    }
    if (const int refusal = disk_.RefusalOf(path)) {
        throw Error(CannotCreateMessage(path, refusal));
    }
    if (written_.count(path) == 0) {
        CheckNewEntry(PlanBackupWrite(path, WherePathLies(sheetPath)).Target, path);
    }
    KeepFile(path, bytes);
}

} // namespace velmora::fix
