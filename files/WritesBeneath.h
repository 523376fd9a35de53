#pragma once

#include "files/FileMoves.h"
#include "files/StaleTemporaries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace velmora {

// A sheet's folder held open while a run (or a batch) writes in it. On Linux every write, rename and
// flush goes through the folder's descriptor with a name directly in it, so a folder on the way that is
// swapped for a link after the folder was opened is never followed, and the folder is not looked up
// again for each call. On Windows the folder's handle is held so that the folder can be neither renamed
// nor removed meanwhile; names are opened relative to it, never through a reparse point, and each
// handle's final path is checked to lie beneath the folder's before anything is written, renamed or
// removed through it.
class OpenFolder {
public:
    // `path` is empty for the working folder, or names the folder with or without a trailing separator.
    explicit OpenFolder(const std::string& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // The folder as given.
    const std::string& Path() const { return path_; }
    // The path of a name in the folder, as messages show it.
    std::string PathOf(const std::string& name) const;
    // The folder as temporary claims and sweeps name it.
    std::string ClaimedName() const;
    // The descriptor on Linux, -1 on Windows or when the folder could not be opened.
    int Descriptor() const { return descriptor_; }
    // On Windows the folder's handle (null when it could not be opened, and on Linux) and where the
    // folder really lies on its volume, as the handle's final path without the drive.
    void* Handle() const { return handle_; }
    const std::string& FinalPath() const { return finalPath_; }
    // Why nothing can be made in the folder, as an errno value; 0 when it is open.
    int Refusal() const { return refusal_; }
    // True while its path still names the folder it opened, so that one kept between runs is opened
    // anew once the folder was replaced.
    bool StillAtItsPath() const;

private:
    std::string path_;
    int descriptor_ = -1;
    void* handle_ = nullptr;
    std::string finalPath_;
    // Why the folder could not be opened, as an errno value; every call then fails with it.
    int refusal_ = 0;
    // Which folder it opened: device and inode on Linux, volume serial number and file index on Windows.
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

// What the new file for `name` keeps, with the checks and errors of PlanFileWrite (a sheet) and
// PlanBackupWrite (a backup or record, kept as the sheet `sheetName` is); a name that is a link is
// refused (ELOOP) rather than written through. Names lie directly in the folder. Throws Error
// "Impossible de créer le fichier ..." with the name's path.
KeptAttributes PlanSheetBeneath(const OpenFolder& folder, const std::string& name);
struct BackupPlan {
    KeptAttributes Kept;
    // True when the sheet may itself become the backup (LinkTemporaryBeneath): a regular file of
    // `sheetSize` bytes with no other name, which would otherwise share the backup's bytes. One of
    // another size is not the one the repair read.
    bool SheetLinkable = false;
};
BackupPlan PlanBackupBeneath(const OpenFolder& folder, const std::string& backupName,
                             const std::string& sheetName, std::uint64_t sheetSize);

// Replaces `name` atomically: a hidden temporary is written, flushed, renamed over it, and the folder
// flushed. Throws as the plans do.
void WriteBeneath(const OpenFolder& folder, const std::string& name, const KeptAttributes& kept,
                  std::string_view content);

// MoveBeneath and RemoveBeneath from the open folder's descriptor, which is not looked up again.
std::error_code MoveBeneath(const OpenFolder& folder, const std::string& from, const std::string& to);
std::error_code RemoveBeneath(const OpenFolder& folder, const std::string& name);

// A hidden temporary in an open folder, by its name there, and the claim that keeps sweeps from it.
struct TemporaryBeneath {
    std::string Name;
    TemporaryFolderClaim Claim;
};

// Writes `content` under a new hidden temporary name for `name`, flushed to disk when `flush` asks (a
// batch flushes its file systems at once instead); throws as the plans do.
TemporaryBeneath WriteTemporaryBeneath(const OpenFolder& folder, const std::string& name,
                                       const KeptAttributes& kept, std::string_view content, bool flush);
// The sheet itself under a new hidden temporary name for `backupName`, so that the old sheet becomes its
// backup without being copied, for a sheet its plan found linkable. Nothing when it cannot be linked;
// the caller then copies.
std::optional<TemporaryBeneath> LinkTemporaryBeneath(const OpenFolder& folder, const std::string& sheetName,
                                                     const std::string& backupName);

// The backup of the sheet `sheetName` (whose bytes are `content`) under a hidden temporary name for
// `backupName`, checked as PlanBackupBeneath checks it: the old sheet itself, linked, where it can be,
// and otherwise a copy, flushed when `flush` asks. Throws as the plans do.
TemporaryBeneath BackupTemporaryBeneath(const OpenFolder& folder, const std::string& backupName,
                                        const std::string& sheetName, std::string_view content, bool flush);

// Renames a flushed temporary over `name` and flushes the folder; the temporary is removed when it
// cannot take the name. Throws Error "Impossible de créer le fichier ..." with the name's path.
void PutInPlaceBeneath(const OpenFolder& folder, const std::string& temporary, const std::string& name);

// Gives the temporary the name `name`, replacing that entry itself (never what a link points at).
std::error_code ReplaceBeneath(const OpenFolder& folder, const std::string& temporary,
                               const std::string& name);
// Removes a temporary of ours.
std::error_code RemoveTemporaryBeneath(const OpenFolder& folder, const std::string& temporary);
// Puts the folder's entries on disk.
std::error_code FlushOpenFolder(const OpenFolder& folder);
// A temporary by its folder and its name there.
using TemporaryIn = std::pair<const OpenFolder*, std::string>;
// Puts the data of the temporaries written and closed earlier on disk: Linux flushes each file system
// that holds one of them once, instead of one flush per file.
std::error_code FlushTemporaries(const std::vector<TemporaryIn>& temporaries);

} // namespace velmora
