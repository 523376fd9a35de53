#pragma once

#include "files/StaleTemporaries.h"
#include "files/WritesBeneath.h"

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The sheet and backup writes of a batch of repairs, made durable together: each is written under a
// hidden temporary name as its repair asks for it (a backup is the old sheet itself, linked under that
// name, where it can be); Commit then flushes the file systems once, puts every backup in place, flushes
// their folders, puts every sheet in place and flushes their folders. At every moment each sheet and
// backup is wholly old or wholly new, and no sheet is replaced before its backup is on disk. What was
// staged and not committed is removed. Every call goes through the open folder the run holds, which the
// batch keeps open until its commit.
class BatchWrites {
public:
    BatchWrites() = default;
    ~BatchWrites();
    BatchWrites(const BatchWrites&) = delete;
    BatchWrites& operator=(const BatchWrites&) = delete;

    // Stage as WriteBeneath would write, with the checks and errors of PlanSheetBeneath and
    // PlanBackupBeneath, for the sheet numbered `sheet`; names lie directly in `folder`.
    void StageSheet(std::size_t sheet, const std::shared_ptr<OpenFolder>& folder, const std::string& name,
                    std::string_view content);
    void StageBackup(std::size_t sheet, const std::shared_ptr<OpenFolder>& folder,
                     const std::string& backupName, std::string_view content, const std::string& sheetName);

    bool Empty() const { return staged_.empty(); }
    std::size_t Count() const { return staged_.size(); }
    // True when a write to `path` is staged: a second repair of it must wait for the commit.
    bool Stages(const std::string& path) const;
    // Where the bytes staged for `path` lie until the commit; nothing when none are.
    std::optional<std::string> StagedCopyOf(const std::string& path) const;

    // Puts everything in place; the message of the first failure of each sheet that failed, by number.
    std::map<std::size_t, std::string> Commit();

private:
    // Removes the temporaries that are still there.
    void Discard();

    struct Staged {
        std::size_t Sheet;
        bool Backup;
        std::shared_ptr<OpenFolder> Folder;
        // Its name in the folder; empty once the file is in place.
        std::string Temporary;
        // Keeps other runs' sweeps from the temporary while it is there.
        TemporaryFolderClaim Claim;
        std::string Name;
        std::string Path;
    };
    std::vector<Staged> staged_;
};

} // namespace velmora
