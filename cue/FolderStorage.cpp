#include "cue/FolderStorage.h"

#include "files/FileMoves.h"
#include "files/FolderEntries.h"
#include "files/TemporaryFile.h"

namespace velmora {

EntryKind FolderStorage::KindOf(const std::string& path) {
    return EntryKindOf(path);
}

bool FolderStorage::FileExists(const std::string& path) {
    return RegularFileExists(path);
}

std::optional<std::uint64_t> FolderStorage::FileSize(const std::string& path) {
    return RegularFileSize(path);
}

std::vector<std::string> FolderStorage::RegularFilesIn(const std::string& folder) {
    return velmora::RegularFilesIn(folder);
}

std::optional<std::string> FolderStorage::ReadFile(const std::string& path, std::size_t limit,
                                                   FinalLink link) {
    return ReadFileWhole(path, limit, link);
}

std::error_code FolderStorage::MoveFile(const std::string& from, const std::string& to) {
    return MoveFileNoReplace(from, to);
}

void FolderStorage::WriteSheet(const std::string& path, std::string_view bytes) {
    WriteFileAtomically(path, bytes);
}

void FolderStorage::WriteBackup(const std::string& backupPath, std::string_view bytes,
                                const std::string& sheetPath) {
    WriteBackupFile(backupPath, bytes, sheetPath);
}

void FolderStorage::WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                                    const std::string& sheetPath) {
    WriteBackupFile(recordPath, bytes, sheetPath);
}

void FolderStorage::CheckBackupPath(const std::string& path) {
    velmora::CheckBackupPath(path);
}

std::error_code FolderStorage::RemoveFile(const std::string& path) {
    return velmora::RemoveFile(path);
}

std::error_code FolderStorage::FlushFolder(const std::string& folder) {
    return SyncFolder(folder);
}

void FolderStorage::RemoveStaleTemporaries(const std::string& folder) {
    // Named as the file layer names a file's folder, so that each is swept once.
    SweepStaleTemporaries(folder.empty() ? std::string(".") : ContainingFolder(folder + "."));
}

bool FolderStorage::IsOutsideFolder(const std::string& path, const std::string& folder) {
    return velmora::IsOutsideFolder(path, folder);
}

FolderStorage& SystemStorage() {
    static FolderStorage storage;
    return storage;
}

} // namespace velmora
