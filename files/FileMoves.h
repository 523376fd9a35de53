#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>
#include <utility>

namespace velmora {

// Moves one regular file from `from` to `to` and never replaces an existing `to`. A source that is not
// a regular file (a folder, a symbolic link, a device) is refused with EISDIR or EINVAL. Across file
// systems the data is copied beside the target, flushed to disk, put in place without replacing, and
// only then is the source removed. A failure never leaves a partial file under the name `to`. Returns
// the system error, or an empty error code on success.
std::error_code MoveFileNoReplace(const std::string& from, const std::string& to);

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

// Where and how a file is about to be replaced: the file itself (a link resolved), the mode and owner
// its replacement gets, and the path that messages name.
struct WritePlan {
    std::string Target;
    mode_t Mode = 0666;
    std::optional<std::pair<uid_t, gid_t>> Owner;
    std::string ShownPath;
};

// The checks of WriteFileAtomically and WriteBackupFile, with the same errors, before anything is written.
WritePlan PlanFileWrite(const std::string& path);
WritePlan PlanBackupWrite(const std::string& backupPath, const std::string& sheetPath);

// Writes `content` under a new hidden temporary name beside the plan's target, neither flushed nor put in
// place, and returns that name; throws the plan's error when it cannot.
std::string WriteHiddenTemporary(const WritePlan& plan, std::string_view content);

// Flushes a folder's entries (a rename into it) to disk; a folder that cannot be opened is left as is.
void SyncFolder(const std::string& folder);

// True when `path`'s folder, with every link in it resolved, is neither `folder` nor below it. A folder
// that does not exist leads nowhere, so it is not outside; whatever is made there fails on its own.
bool IsOutsideFolder(const std::string& path, const std::string& folder);

} // namespace velmora
