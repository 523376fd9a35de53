#pragma once

#include "files/FileReading.h"
#include "files/FileStatus.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmora {

// Every file the engine looks at, reads, writes, moves or removes goes through one of these, so that a
// run that only records what it would do (a dry run) answers every later question of the run as the
// real one would, and so that confinement to the sheet's folder is kept in one place. Paths are UTF-8
// (bytes on Linux); folders end in a separator or are empty for the working folder. All calls come from
// the one thread that runs the repair.
class SheetStorage {
public:
    // The sheet's folder, set as a run or a restore starts: from then on nothing is written, moved or
    // removed that does not lie beneath it through real folders, and no link is written through.
    virtual void ConfineTo(const std::string& folder) = 0;

    // What a listing of the sheet's folder found `path` itself to be, so that the sheet's own run does
    // not look again: WhereItLies answers from it once. Forgotten as soon as the storage changes a file.
    virtual void Listed(const std::string& path, EntryKind kind) = 0;
    // Where the file at `path` really lies: a link's target with every link on its way resolved; any
    // other path as it is.
    virtual std::string WhereItLies(const std::string& path) = 0;
    // What the path itself names, a last link not followed (a link is Other).
    virtual EntryKind KindOf(const std::string& path) = 0;
    // True when the path names an existing regular file, not a folder.
    virtual bool FileExists(const std::string& path) = 0;
    // The size of the regular file the path names; nothing for anything else.
    virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
    // The names of the regular files in `folder`, sorted; nothing when it cannot be read.
    virtual std::vector<std::string> RegularFilesIn(const std::string& folder) = 0;
    // A regular file whole, as ReadFileWhole reads it: nothing when the path names nothing.
    virtual std::optional<std::string> ReadFile(const std::string& path, std::size_t limit,
                                                FinalLink link) = 0;

    // Renames or moves one regular file; fails when `to` exists. The system's error, empty on success.
    virtual std::error_code MoveFile(const std::string& from, const std::string& to) = 0;
    // Writes a sheet's new bytes in place of the old ones, atomically; the sheet keeps its mode. Throws
    // Error "Impossible de créer le fichier ..." on failure.
    virtual void WriteSheet(const std::string& path, std::string_view bytes) = 0;
    // Writes the backup of the sheet at `sheetPath` (the sheet's bytes as they were on disk), never
    // through a link; throws as WriteSheet does.
    virtual void WriteBackup(const std::string& backupPath, std::string_view bytes,
                             const std::string& sheetPath) = 0;
    // Writes the record of the files a repair moved beside the sheet at `sheetPath`, kept as its backup
    // is, and on disk when this returns.
    virtual void WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                                 const std::string& sheetPath) = 0;
    // Throws what WriteBackup would for a path that is no regular file or may not be written; nothing
    // when the path is free or a writable regular file.
    virtual void CheckBackupPath(const std::string& path) = 0;
    // Removes one file (a link itself, never what it points at). The system's error, empty on success.
    virtual std::error_code RemoveFile(const std::string& path) = 0;
    // Puts the folder's entries (renames and removals in it) on disk. The system's error, empty on success.
    virtual std::error_code FlushFolder(const std::string& folder) = 0;
    // Removes what a killed earlier run left in the folder: our own hidden temporaries only.
    virtual void RemoveStaleTemporaries(const std::string& folder) = 0;
    // True when `path`'s folder, links resolved, is neither `folder` nor below it.
    virtual bool IsOutsideFolder(const std::string& path, const std::string& folder) = 0;

protected:
    ~SheetStorage() = default;
};

} // namespace velmora
