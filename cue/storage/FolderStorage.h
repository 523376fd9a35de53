#pragma once

#include "cue/storage/SheetStorage.h"
#include "files/WritesBeneath.h"

#include <map>
#include <memory>
#include <set>

namespace velmora {

// The storage of the disk itself: the one place of the engine that calls the file layer.
class FolderStorage : public SheetStorage {
public:
    FolderStorage() = default;
    virtual ~FolderStorage() = default;

    void ConfineTo(const std::string& folder) override;
    void Listed(const std::string& path, EntryKind kind) override;
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
    // The size of the regular file `path` leads to, looked up once a run.
    std::optional<std::uint64_t> Looked(const std::string& path);
    // Forgets every answer given from memory: the storage is about to change a file.
    void Forget();

    std::string folder_;
    // Held from the start of a run in a folder, and kept for the next run there while the folder's path
    // still names it, so the folder is neither looked up again for each call nor followed anew if a
    // link is swapped in for it during the run.
    std::shared_ptr<OpenFolder> open_;
    // What FileExists and FileSize found during this run, from one look at each path (the size of a
    // regular file, nothing for anything else): a repair and its length checks ask after the same files
    // several times. Forgotten when the run starts and whenever the storage changes a file. Only answers
    // are remembered: every write still resolves its name beneath the held folder as it is made.
    std::map<std::string, std::optional<std::uint64_t>> looked_;
    // What the listing that found each sheet saw of it, until the sheet's run asks.
    std::map<std::string, EntryKind> listed_;
    // The last sheet WhereItLies answered from the listing as a regular file: the listing may be minutes
    // old, so it is read without following a link that took its place since.
    std::string listedFile_;
    // The folders this storage swept of stale temporaries: a process sweeps each once.
    std::set<std::string> swept_;
    // A storage not yet confined (one a caller saves a buffer through) checks nothing.
    bool confined_ = false;
};

// The disk's storage that hosts without one of their own lend to every run.
FolderStorage& SystemStorage();

} // namespace velmora
