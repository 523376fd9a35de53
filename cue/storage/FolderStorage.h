#pragma once

#include "cue/storage/SheetStorage.h"
#include "files/WritesBeneath.h"

#include <map>
#include <memory>

namespace velmora {

// The storage of the disk itself: the one place of the engine that calls the file layer.
class FolderStorage : public SheetStorage {
public:
    FolderStorage() = default;
    virtual ~FolderStorage() = default;

    void ConfineTo(const std::string& folder) override;
    std::string WhereItLies(const std::string& path) override;
    // Why `path` may not be written, moved or removed, as an errno value; 0 when it lies beneath the
    // folder through real folders only and is no link itself.
    int RefusalOf(const std::string& path) const;
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
    std::error_code FlushFolder(const std::string& folder) override;
    void RemoveStaleTemporaries(const std::string& folder) override;
    bool IsOutsideFolder(const std::string& path, const std::string& folder) override;

protected:
    // The folder held open for the run (null until the storage is confined), and the name in it of a
    // path that lies directly in it.
    const std::shared_ptr<OpenFolder>& HeldFolder() const { return open_; }
    std::optional<std::string> NameInFolder(const std::string& path) const;
    // The name in the held folder of a file about to be written there; throws the error of a path that
    // lies elsewhere.
    std::string NameToWrite(const std::string& path) const;

private:
    // True when the storage is confined and `path` names something in its folder.
    bool Inside(const std::string& path) const;

    std::string folder_;
    // Held from the start of a run in a folder, and kept for the next run there while the folder's path
    // still names it, so the folder is neither looked up again for each call nor followed anew if a
    // link is swapped in for it during the run.
    std::shared_ptr<OpenFolder> open_;
    // What FileExists found during this run: a repair asks after the same audio file several times.
    // Forgotten when the run starts and whenever the storage changes a file.
    std::map<std::string, bool> existing_;
    // A storage not yet confined (one a caller saves a buffer through) checks nothing.
    bool confined_ = false;
};

// The disk's storage that hosts without one of their own lend to every run.
FolderStorage& SystemStorage();

} // namespace velmora
