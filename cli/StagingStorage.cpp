#include "cli/StagingStorage.h"

namespace velmora::fix {

std::optional<std::string> StagingStorage::ReadFile(const std::string& path, std::size_t limit,
                                                    FinalLink link) {
    const std::optional<std::string> staged = batch_ != nullptr ? batch_->StagedCopyOf(path) : std::nullopt;
    return FolderStorage::ReadFile(staged.value_or(path), limit, link);
}

void StagingStorage::WriteSheet(const std::string& path, std::string_view bytes) {
    if (batch_ != nullptr && HeldFolder()) {
        batch_->StageSheet(sheet_, HeldFolder(), NameToWrite(path), bytes);
    } else {
        FolderStorage::WriteSheet(path, bytes);
    }
}

void StagingStorage::WriteBackup(const std::string& backupPath, std::string_view bytes,
                                 const std::string& sheetPath) {
    if (batch_ != nullptr && HeldFolder()) {
        batch_->StageBackup(sheet_, HeldFolder(), NameToWrite(backupPath), bytes, NameToWrite(sheetPath));
    } else {
        FolderStorage::WriteBackup(backupPath, bytes, sheetPath);
    }
}

} // namespace velmora::fix
