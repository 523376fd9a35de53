#include "files/WritesBeneath.h"

#include "errors/ErrorMessages.h"

namespace velmora {

TemporaryBeneath BackupTemporaryBeneath(const OpenFolder& folder, const std::string& backupName,
                                        const std::string& sheetName, std::string_view content, bool flush) {
    const BackupPlan plan = PlanBackupBeneath(folder, backupName, sheetName, content.size());
    if (plan.SheetLinkable) {
        if (std::optional<TemporaryBeneath> linked = LinkTemporaryBeneath(folder, sheetName, backupName)) {
            return std::move(*linked);
        }
    }
    return WriteTemporaryBeneath(folder, backupName, plan.Kept, content, flush);
}

void PutInPlaceBeneath(const OpenFolder& folder, const std::string& temporary, const std::string& name) {
    if (const std::error_code error = ReplaceBeneath(folder, temporary, name)) {
        RemoveTemporaryBeneath(folder, temporary);
        throw Error(CannotCreateMessage(folder.PathOf(name), error.value()));
    }
    // The new name is only safe once the folder that holds it is on disk too.
    if (const std::error_code error = FlushOpenFolder(folder)) {
        throw Error(CannotCreateMessage(folder.PathOf(name), error.value()));
    }
}

void WriteBeneath(const OpenFolder& folder, const std::string& name, const KeptAttributes& kept,
                  std::string_view content) {
    PutInPlaceBeneath(folder, WriteTemporaryBeneath(folder, name, kept, content, true).Name, name);
}

} // namespace velmora
