#include "cue/storage/BatchWrites.h"

#include "errors/ErrorMessages.h"
#include "files/DiskFlush.h"
#include "files/FileMoves.h"
#include "files/PathNames.h"

#include <algorithm>

namespace velmora {

BatchWrites::~BatchWrites() {
    Discard();
}

void BatchWrites::Discard() {
    for (const Staged& staged : staged_) {
        if (!staged.Temporary.empty()) {
            RemoveFile(staged.Temporary);
        }
    }
    staged_.clear();
}

void BatchWrites::StageSheet(std::size_t sheet, const std::string& path, std::string_view content) {
    const WritePlan plan = PlanFileWrite(path);
    HiddenTemporary temporary = WriteHiddenTemporary(plan, content);
    staged_.push_back(
        {sheet, false, std::move(temporary.Path), std::move(temporary.Claim), plan.Target, path});
}

void BatchWrites::StageBackup(std::size_t sheet, const std::string& backupPath, std::string_view content,
                              const std::string& sheetPath) {
    const WritePlan plan = PlanBackupWrite(backupPath, sheetPath);
    HiddenTemporary temporary = WriteHiddenTemporary(plan, content);
    staged_.push_back(
        {sheet, true, std::move(temporary.Path), std::move(temporary.Claim), plan.Target, backupPath});
}

bool BatchWrites::Stages(const std::string& path) const {
    return std::any_of(staged_.begin(), staged_.end(),
                       [&](const Staged& staged) { return staged.Path == path || staged.Target == path; });
}

std::optional<std::string> BatchWrites::StagedCopyOf(const std::string& path) const {
    // The last staged write wins, as it will on disk.
    for (auto staged = staged_.rbegin(); staged != staged_.rend(); ++staged) {
        if (staged->Path == path || staged->Target == path) {
            return staged->Temporary;
        }
    }
    return std::nullopt;
}

std::map<std::size_t, std::string> BatchWrites::Commit() {
    std::map<std::size_t, std::string> failures;
    std::vector<std::string> temporaries;
    for (const Staged& staged : staged_) {
        temporaries.push_back(staged.Temporary);
    }
    if (const std::error_code error = FlushToDisk(temporaries)) {
        for (const Staged& staged : staged_) {
            failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, error.value()));
        }
    }

    // Backups first, and on disk before any sheet is replaced: a sheet whose backup's folder could not
    // be flushed stays as it was, and one whose own folder could not be is not known to be on disk.
    for (const bool backups : {true, false}) {
        std::map<std::string, std::vector<const Staged*>> renamedInto;
        for (Staged& staged : staged_) {
            if (staged.Backup != backups || failures.count(staged.Sheet) != 0) {
                continue;
            }
            if (const std::error_code error = RenameReplacing(staged.Temporary, staged.Target)) {
                failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, error.value()));
                continue;
            }
            staged.Temporary.clear();
            renamedInto[ContainingFolder(staged.Target)].push_back(&staged);
        }
        for (const auto& [folder, renamed] : renamedInto) {
            if (const std::error_code error = SyncFolder(folder)) {
                for (const Staged* staged : renamed) {
                    failures.emplace(staged->Sheet, CannotCreateMessage(staged->Path, error.value()));
                }
            }
        }
    }
    Discard();
    return failures;
}

} // namespace velmora
