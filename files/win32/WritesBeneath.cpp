#include "files/WritesBeneath.h"

#include "errors/ErrorMessages.h"
#include "files/DiskFlush.h"
#include "files/FolderBeneath.h"
#include "files/PathNames.h"

#include <cerrno>

namespace velmora {
namespace {

// Here each name is checked beneath the folder just before the call, which then goes by path.
void CheckBeneath(const OpenFolder& folder, const std::string& name, const std::string& shownName) {
    const bool onePart = !name.empty() && name.find_first_of("\\/:") == std::string::npos;
    const int refusal = onePart ? RefusalBeneath(folder.Path(), name) : EXDEV;
    if (refusal != 0) {
        throw Error(CannotCreateMessage(folder.PathOf(shownName), refusal));
    }
}

} // namespace

OpenFolder::OpenFolder(const std::string& path) : path_(path) {}

OpenFolder::~OpenFolder() = default;

bool OpenFolder::StillAtItsPath() const {
    return true;
}

std::string OpenFolder::PathOf(const std::string& name) const {
    return path_.empty() || path_.back() == '\\' || path_.back() == '/' ? path_ + name : path_ + "\\" + name;
}

std::string OpenFolder::ClaimedName() const {
    return ContainingFolder(PathOf("."));
}

KeptAttributes PlanSheetBeneath(const OpenFolder& folder, const std::string& name) {
    CheckBeneath(folder, name, name);
    return PlanFileWrite(folder.PathOf(name)).Kept;
}

BackupPlan PlanBackupBeneath(const OpenFolder& folder, const std::string& backupName,
                             const std::string& sheetName, std::uint64_t) {
    CheckBeneath(folder, backupName, backupName);
    CheckBeneath(folder, sheetName, backupName);
    // Hard links are rare on the volumes music lies on here; the backup is copied.
    return {PlanBackupWrite(folder.PathOf(backupName), folder.PathOf(sheetName)).Kept, false};
}

TemporaryBeneath WriteTemporaryBeneath(const OpenFolder& folder, const std::string& name,
                                       const KeptAttributes& kept, std::string_view content, bool flush) {
    CheckBeneath(folder, name, name);
    HiddenTemporary written = WriteHiddenTemporary({folder.PathOf(name), kept, folder.PathOf(name)}, content);
    if (flush) {
        if (const std::error_code error = FlushToDisk({written.Path})) {
            RemoveFile(written.Path);
            throw Error(CannotCreateMessage(folder.PathOf(name), error.value()));
        }
    }
    return {std::string(FileNamePart(written.Path)), std::move(written.Claim)};
}

std::optional<TemporaryBeneath> LinkTemporaryBeneath(const OpenFolder&, const std::string&,
                                                     const std::string&) {
    // Hard links are rare on the volumes music lies on here; the backup is copied.
    return std::nullopt;
}

std::error_code ReplaceBeneath(const OpenFolder& folder, const std::string& temporary,
                               const std::string& name) {
    return RenameReplacing(folder.PathOf(temporary), folder.PathOf(name));
}

std::error_code RemoveTemporaryBeneath(const OpenFolder& folder, const std::string& temporary) {
    return RemoveFile(folder.PathOf(temporary));
}

std::error_code FlushOpenFolder(const OpenFolder& folder) {
    return SyncFolder(folder.Path());
}

std::error_code FlushTemporaries(const std::vector<TemporaryIn>& temporaries) {
    std::vector<std::string> paths;
    for (const auto& [folder, name] : temporaries) {
        paths.push_back(folder->PathOf(name));
    }
    return FlushToDisk(paths);
}

} // namespace velmora
