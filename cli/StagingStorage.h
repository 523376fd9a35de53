#pragma once

#include "cue/storage/BatchWrites.h"
#include "cue/storage/FolderStorage.h"

namespace velmora::fix {

// The disk's storage that, given a batch, stages sheet and backup writes in it for the sheet numbered
// `sheet` instead of making them at once.
class StagingStorage final : public FolderStorage {
public:
    void UseBatch(BatchWrites* batch, std::size_t sheet) {
        batch_ = batch;
        sheet_ = sheet;
    }
    // A staged sheet reads as it will once the batch is committed.
    std::optional<std::string> ReadFile(const std::string& path, std::size_t limit, FinalLink link) override;
    void WriteSheet(const std::string& path, std::string_view bytes) override;
    void WriteBackup(const std::string& backupPath, std::string_view bytes,
                     const std::string& sheetPath) override;

private:
    BatchWrites* batch_ = nullptr;
    std::size_t sheet_ = 0;
};

} // namespace velmora::fix
