#pragma once

#include "cue/repair/RowReport.h"
#include "cue/storage/FolderStorage.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::fix {

// A sheet write that a dry run kept instead of making.
struct RecordedWrite {
    std::string Path;
    std::string Before;
    std::string After;
};

// A storage that leaves the disk alone: it checks every write and move as the disk's storage would (a
// refusal is the same error) and keeps it instead, and answers every later question (what exists, what
// a folder lists, what a file reads) as the disk would answer after them. So a dry run of a batch
// answers as the real run, sheet after sheet.
class DryRunStorage final : public SheetStorage {
public:
    explicit DryRunStorage(FolderStorage& disk) : disk_(disk) {}

    void ConfineTo(const std::string& folder) override { disk_.ConfineTo(folder); }
    void Listed(const std::string& path, EntryKind kind) override { disk_.Listed(path, kind); }
    std::string WhereItLies(const std::string& path) override { return disk_.WhereItLies(path); }

    EntryKind KindOf(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    std::vector<std::string> RegularFilesIn(const std::string& folder) override;
    std::optional<std::string> ReadFile(const std::string& path, std::size_t limit, FinalLink link) override;
    std::error_code MoveFile(const std::string& from, const std::string& to) override;
    void WriteSheet(const std::string& path, std::string_view bytes) override;
    void WriteBackup(const std::string& backupPath, std::string_view bytes,
                     const std::string& sheetPath) override;
    void WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                         const std::string& sheetPath) override;
    void CheckBackupPath(const std::string& path) override;
    std::error_code RemoveFile(const std::string& path) override;
    std::error_code FlushFolder(const std::string&) override { return {}; }
    // A dry run removes nothing, leftovers included.
    void RemoveStaleTemporaries(const std::string&) override {}
    bool IsOutsideFolder(const std::string& path, const std::string& folder) override {
        return disk_.IsOutsideFolder(path, folder);
    }

    // Where the file the run sees at `path` lies on disk: its source when the run moved it there.
    const std::string& WherePathLies(const std::string& path) const;

    // What the current sheet's run kept, forgotten by ForgetRunLog; what the kept writes and moves did
    // to the files stays for the whole batch.
    void ForgetRunLog();
    const std::vector<RecordedWrite>& SheetWrites() const { return sheetWrites_; }
    const std::vector<PlannedMove>& Moves() const { return moves_; }

private:
    void KeepFile(const std::string& path, std::string_view bytes);
    void KeepBesideSheet(const std::string& path, std::string_view bytes, const std::string& sheetPath);

    FolderStorage& disk_;
    // Files the run wrote, by path, with their bytes.
    std::map<std::string, std::string> written_;
    // Files the run moved in, by path, with where they lie on disk.
    std::map<std::string, std::string> movedIn_;
    // Paths the run moved away or removed.
    std::set<std::string> gone_;
    std::vector<RecordedWrite> sheetWrites_;
    std::vector<PlannedMove> moves_;
};

} // namespace velmora::fix
