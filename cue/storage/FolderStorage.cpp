#include "cue/storage/FolderStorage.h"

#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "files/FolderBeneath.h"
#include "files/FolderEntries.h"
#include "files/PathNames.h"
#include "files/StaleTemporaries.h"

#include <filesystem>

namespace velmora {

namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

} // namespace

void FolderStorage::ConfineTo(const std::string& folder) {
    looked_.clear();
    if (!open_ || folder != folder_ || !open_->StillAtItsPath()) {
        open_ = std::make_shared<OpenFolder>(folder);
    }
    folder_ = folder;
    confined_ = true;
}

std::optional<std::string> FolderStorage::NameInFolder(const std::string& path) const {
    if (!Inside(path)) {
        return std::nullopt;
    }
    std::string name = path.substr(folder_.size());
    if (name.empty() || LastSeparator(name) != std::string::npos) {
        return std::nullopt;
    }
    return name;
}

std::string FolderStorage::NameToWrite(const std::string& path) const {
    std::optional<std::string> name = NameInFolder(path);
    if (!name) {
        const int refusal = RefusalOf(path);
        throw Error(CannotCreateMessage(path, refusal != 0 ? refusal : EXDEV));
    }
    return *std::move(name);
}

int FolderStorage::RefusalOf(const std::string& path) const {
    if (!confined_) {
        return 0;
    }
    if (path.compare(0, folder_.size(), folder_) != 0) {
        return EXDEV;
    }
    return RefusalBeneath(folder_, path.substr(folder_.size()));
}

void FolderStorage::Forget() {
    looked_.clear();
    listed_.clear();
    listedFile_.clear();
}

void FolderStorage::Listed(const std::string& path, EntryKind kind) {
    listed_[path] = kind;
}

std::string FolderStorage::WhereItLies(const std::string& path) {
    EntryKind kind;
    if (const auto listed = listed_.find(path); listed != listed_.end()) {
        kind = listed->second;
        listed_.erase(listed);
        // Read as the listing saw it: a link put in its place since is not followed.
        if (kind == EntryKind::RegularFile) {
            listedFile_ = path;
        }
    } else {
        kind = EntryKindOf(path);
    }
    if (kind != EntryKind::Other) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(PathFromUtf8(path), error);
    return error ? path : Utf8FromPath(target);
}

EntryKind FolderStorage::KindOf(const std::string& path) {
    return EntryKindOf(path);
}

std::optional<std::uint64_t> FolderStorage::Looked(const std::string& path) {
    if (const auto known = looked_.find(path); known != looked_.end()) {
        return known->second;
    }
    const std::optional<std::uint64_t> size = path.empty() ? std::nullopt : RegularFileSize(path);
    looked_.emplace(path, size);
    return size;
}

bool FolderStorage::FileExists(const std::string& path) {
    return Looked(path).has_value();
}

std::optional<std::uint64_t> FolderStorage::FileSize(const std::string& path) {
    return Looked(path);
}

std::vector<std::string> FolderStorage::RegularFilesIn(const std::string& folder) {
    return velmora::RegularFilesIn(folder);
}

std::optional<std::string> FolderStorage::ReadFile(const std::string& path, std::size_t limit,
                                                   FinalLink link) {
    return ReadFileWhole(path, limit, path == listedFile_ ? FinalLink::Refuse : link);
}

bool FolderStorage::Inside(const std::string& path) const {
    return confined_ && path.compare(0, folder_.size(), folder_) == 0;
}

std::error_code FolderStorage::MoveFile(const std::string& from, const std::string& to) {
    Forget();
    // Both in the folder: each name is resolved beneath it as the move is made.
    if (Inside(from) && Inside(to)) {
        return MoveBeneath(*open_, from.substr(folder_.size()), to.substr(folder_.size()));
    }
    // A source the user chose elsewhere is the user's to give.
    if (const int refusal = RefusalOf(to)) {
        return ErrorOf(refusal);
    }
    return MoveFileNoReplace(from, to);
}

void FolderStorage::WriteSheet(const std::string& path, std::string_view bytes) {
    Forget();
    if (!confined_) {
        WriteFileAtomically(path, bytes);
        return;
    }
    const std::string name = NameToWrite(path);
    WriteBeneath(*open_, name, PlanSheetBeneath(*open_, name), bytes);
}

void FolderStorage::WriteBackup(const std::string& backupPath, std::string_view bytes,
                                const std::string& sheetPath) {
    Forget();
    if (!confined_) {
        WriteBackupFile(backupPath, bytes, sheetPath);
        return;
    }
    const std::string backupName = NameToWrite(backupPath);
    const TemporaryBeneath backup =
        BackupTemporaryBeneath(*open_, backupName, NameToWrite(sheetPath), bytes, true);
    PutInPlaceBeneath(*open_, backup.Name, backupName);
}

void FolderStorage::WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                                    const std::string& sheetPath) {
    Forget();
    if (!confined_) {
        WriteBackupFile(recordPath, bytes, sheetPath);
        return;
    }
    const std::string recordName = NameToWrite(recordPath);
    WriteBeneath(*open_, recordName, PlanBackupBeneath(*open_, recordName, NameToWrite(sheetPath), 0).Kept,
                 bytes);
}

void FolderStorage::CheckBackupPath(const std::string& path) {
    velmora::CheckBackupPath(path);
}

std::error_code FolderStorage::RemoveFile(const std::string& path) {
    Forget();
    if (Inside(path)) {
        return RemoveBeneath(*open_, path.substr(folder_.size()));
    }
    if (const int refusal = RefusalOf(path)) {
        return ErrorOf(refusal);
    }
    return velmora::RemoveFile(path);
}

std::error_code FolderStorage::FlushFolder(const std::string& folder) {
    if (open_ && confined_ && folder == folder_) {
        return FlushOpenFolder(*open_);
    }
    return SyncFolder(folder);
}

void FolderStorage::RemoveStaleTemporaries(const std::string& folder) {
    // Named as the file layer names a file's folder, so that each is swept once. The layer sweeps a
    // folder once a process too, but looks at it again for each claim.
    const std::string named = folder.empty() ? std::string(".") : ContainingFolder(folder + ".");
    if (swept_.insert(named).second) {
        SweepStaleTemporaries(named);
    }
}

bool FolderStorage::IsOutsideFolder(const std::string& path, const std::string& folder) {
    return velmora::IsOutsideFolder(path, folder);
}

FolderStorage& SystemStorage() {
    static FolderStorage storage;
    return storage;
}

} // namespace velmora
