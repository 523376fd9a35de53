#include "cue/storage/BatchWrites.h"

#include "errors/ErrorMessages.h"

#include <algorithm>

namespace velmora {

BatchWrites::~BatchWrites() {
    Discard();
}

void BatchWrites::Discard() {
    for (const Staged& staged : staged_) {
        if (!staged.Temporary.empty()) {
            RemoveTemporaryBeneath(*staged.Folder, staged.Temporary);
        }
    }
    staged_.clear();
}

void BatchWrites::StageSheet(std::size_t sheet, const std::shared_ptr<OpenFolder>& folder,
                             const std::string& name, std::string_view content) {
    TemporaryBeneath temporary =
        WriteTemporaryBeneath(*folder, name, PlanSheetBeneath(*folder, name), content, false);
    staged_.push_back({sheet, false, folder, std::move(temporary.Name), std::move(temporary.Claim), name,
                       folder->PathOf(name)});
}

void BatchWrites::StageBackup(std::size_t sheet, const std::shared_ptr<OpenFolder>& folder,
                              const std::string& backupName, std::string_view content,
                              const std::string& sheetName) {
    TemporaryBeneath temporary = BackupTemporaryBeneath(*folder, backupName, sheetName, content, false);
    staged_.push_back({sheet, true, folder, std::move(temporary.Name), std::move(temporary.Claim), backupName,
                       folder->PathOf(backupName)});
}

bool BatchWrites::Stages(const std::string& path) const {
    return std::any_of(staged_.begin(), staged_.end(),
                       [&](const Staged& staged) { return staged.Path == path; });
}

std::optional<std::string> BatchWrites::StagedCopyOf(const std::string& path) const {
    // The last staged write wins, as it will on disk.
    for (auto staged = staged_.rbegin(); staged != staged_.rend(); ++staged) {
        if (staged->Path == path) {
            return staged->Folder->PathOf(staged->Temporary);
        }
    }
    return std::nullopt;
}

std::map<std::size_t, std::string> BatchWrites::Commit() {
    std::map<std::size_t, std::string> failures;
    std::vector<TemporaryIn> temporaries;
    for (const Staged& staged : staged_) {
        temporaries.emplace_back(staged.Folder.get(), staged.Temporary);
    }
    if (const std::error_code error = FlushTemporaries(temporaries)) {
        for (const Staged& staged : staged_) {
            failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, error.value()));
        }
    }

    // Backups first, and on disk before any sheet is replaced: a sheet whose backup's folder could not
    // be flushed stays as it was, and one whose own folder could not be is not known to be on disk.
    for (const bool backups : {true, false}) {
        std::map<const OpenFolder*, std::vector<const Staged*>> renamedInto;
        for (Staged& staged : staged_) {
            if (staged.Backup != backups || failures.count(staged.Sheet) != 0) {
                continue;
            }
            if (const std::error_code error = ReplaceBeneath(*staged.Folder, staged.Temporary, staged.Name)) {
                failures.emplace(staged.Sheet, CannotCreateMessage(staged.Path, error.value()));
                continue;
            }
            staged.Temporary.clear();
            renamedInto[staged.Folder.get()].push_back(&staged);
        }
        for (const auto& [folder, renamed] : renamedInto) {
            if (const std::error_code error = FlushOpenFolder(*folder)) {
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
