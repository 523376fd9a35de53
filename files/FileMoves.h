#pragma once

#include "files/StaleTemporaries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace velmora {

// Moves one regular file from `from` to `to` and never replaces an existing `to`. A source that is not
// a regular file (a folder, a symbolic link, a device) is refused with EISDIR or EINVAL. Across file
// systems the data is copied beside the target, flushed to disk, put in place without replacing, and
// only then is the source removed. A failure never leaves a partial file under the name `to`. Returns
// the system error, or an empty error code on success.
std::error_code MoveFileNoReplace(const std::string& from, const std::string& to);

// Gives `from` the name `to`, replacing the directory entry `to` itself (never what a link points at),
// the change on disk once SyncFolder flushes its folder. The system error, or an empty error code.
std::error_code RenameReplacing(const std::string& from, const std::string& to);

// Removes one file (a link itself, never what it points at). The system error, or an empty error code.
std::error_code RemoveFile(const std::string& path);

// True when the path names an existing regular file (following symbolic links); a folder is no file.
bool RegularFileExists(const std::string& path);

// Replaces the file's content atomically: a temporary file in the same folder is written, flushed and
// renamed over the target, which keeps its mode. Through a symbolic link the file it points at is
// replaced and the link kept. A read-only target is refused. Throws Error "Impossible de créer le
// fichier ..." with the target's path on failure.
void WriteFileAtomically(const std::string& path, std::string_view content);

// Writes the backup of `sheetPath` at `backupPath`, atomically, with the sheet's mode and, where
// permitted, its owner. A backup path that exists and is not a regular file (a link, a folder, a FIFO,
// a device) is never written through, replaced or followed: Error "Impossible de créer le fichier ..."
// names it. Checked by CheckBackupPath before anything else is written.
void WriteBackupFile(const std::string& backupPath, std::string_view content, const std::string& sheetPath);
// Throws what WriteBackupFile would for a backup path that is not a regular file; nothing when the path
// is free or a regular file.
void CheckBackupPath(const std::string& backupPath);

// What a new file keeps of the one it replaces or backs up: its permissions and, where the system lets
// us, its owner. Only the file layer reads it: on Linux the mode bits and the user and group ids, on
// Windows the file attributes (no owner).
struct KeptAttributes {
    std::uint32_t Permissions = 0;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> Owner;
};

// Where and how a file is about to be replaced: the file itself (a link resolved), what its replacement
// keeps, and the path that messages name.
struct WritePlan {
    std::string Target;
    KeptAttributes Kept;
    std::string ShownPath;
};

// The checks of WriteFileAtomically and WriteBackupFile, with the same errors, before anything is written.
WritePlan PlanFileWrite(const std::string& path);
WritePlan PlanBackupWrite(const std::string& backupPath, const std::string& sheetPath);

// Flushes a folder's entries (a rename into it) to disk. The system error, or an empty error code: a
// folder that cannot be opened or flushed leaves what was renamed into it not known to be on disk.
std::error_code SyncFolder(const std::string& folder);

// True when `path`'s folder, with every link in it resolved, is neither `folder` nor below it. A folder
// that does not exist leads nowhere, so it is not outside; whatever is made there fails on its own.
bool IsOutsideFolder(const std::string& path, const std::string& folder);

} // namespace velmora
