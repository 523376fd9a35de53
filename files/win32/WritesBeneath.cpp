#include "files/WritesBeneath.h"

#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "files/TemporaryNames.h"
#include "files/win32/HandlesBeneath.h"
#include "files/win32/HeldTemporaries.h"

#include <algorithm>
#include <cerrno>

namespace velmora {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

[[noreturn]] void Refuse(const OpenFolder& folder, const std::string& name, int error) {
    throw Error(CannotCreateMessage(folder.PathOf(name), error));
}

// Names here lie directly in the folder: one part, so that nothing opened relative to it can leave it.
int RefusalOfName(const OpenFolder& folder, const std::string& name) {
    if (folder.Refusal() != 0) {
        return folder.Refusal();
    }
    return name.empty() || name == "." || name == ".." || name.find_first_of("\\/:") != std::string::npos
               ? EXDEV
               : 0;
}

// Looks at an existing name without following it: 0 with `found` open, ENOENT when there is none.
int LookAt(const OpenFolder& folder, const std::string& name, HandleBeneath& found) {
    return OpenBeneath(folder, name, {}, found);
}

// A new hidden temporary for `name`, open for writing and for its rename, shared for reading only.
int CreateTemporary(const OpenFolder& folder, const std::string& name, DWORD attributes, std::string& created,
                    HandleBeneath& file) {
    const OpenRequest request{GENERIC_WRITE | DELETE, FILE_SHARE_READ, FILE_CREATE,
                              attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes};
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = NewTemporaryName(name);
        const int error = OpenBeneath(folder, created, request, file);
        if (error != EEXIST) {
            return error;
        }
    }
    return EEXIST;
}

// The handle that renames or removes a temporary: the one held since it was written, or one opened now
// for a temporary this process does not hold.
HANDLE HandleOfTemporary(const OpenFolder& folder, const std::string& temporary, HandleBeneath& opened,
                         int& refusal) {
    if (const HANDLE held = HeldTemporary(folder.ClaimedName(), temporary)) {
        return held;
    }
    refusal = OpenBeneath(folder, temporary, {DELETE | FILE_READ_ATTRIBUTES}, opened);
    return refusal == 0 ? opened.File.get() : nullptr;
}

} // namespace

OpenFolder::OpenFolder(const std::string& path) : path_(path) {
    // Opened as a link leads, as the folder the run works in; held without sharing its deletion, so it
    // can be neither renamed nor replaced while it is held. Writing lets the folder's entries be flushed.
    const std::wstring wide = WidePath(path.empty() ? "." : path);
    HANDLE folder = INVALID_HANDLE_VALUE;
    for (const DWORD access : {GENERIC_READ | GENERIC_WRITE, GENERIC_READ}) {
        folder = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder != INVALID_HANDLE_VALUE) {
            break;
        }
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (folder == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(folder, &info)) {
        refusal_ = ErrnoOf(GetLastError());
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        refusal_ = ENOTDIR;
    } else {
        finalPath_ = PathOnVolume(folder);
        refusal_ = finalPath_.empty() ? ErrnoOf(GetLastError()) : 0;
    }
    if (refusal_ != 0) {
        if (folder != INVALID_HANDLE_VALUE) {
            CloseHandle(folder);
        }
        return;
    }
    handle_ = folder;
    device_ = info.dwVolumeSerialNumber;
    inode_ = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

OpenFolder::~OpenFolder() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

bool OpenFolder::StillAtItsPath() const {
    WinHandle now(CreateFileW(WidePath(path_.empty() ? "." : path_).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return handle_ != nullptr && now.valid() && GetFileInformationByHandle(now.get(), &info) &&
           info.dwVolumeSerialNumber == device_ &&
           ((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow) == inode_;
}

std::string OpenFolder::PathOf(const std::string& name) const {
    return path_.empty() || path_.back() == '\\' || path_.back() == '/' ? path_ + name : path_ + "\\" + name;
}

std::string OpenFolder::ClaimedName() const {
    return ContainingFolder(PathOf("."));
}

KeptAttributes PlanSheetBeneath(const OpenFolder& folder, const std::string& name) {
    if (const int refusal = RefusalOfName(folder, name)) {
        Refuse(folder, name, refusal);
    }
    HandleBeneath existing;
    if (const int error = LookAt(folder, name, existing)) {
        if (error != ENOENT) {
            Refuse(folder, name, error);
        }
        return {FILE_ATTRIBUTE_NORMAL, std::nullopt};
    }
    if (existing.IsFolder()) {
        Refuse(folder, name, EINVAL);
    }
    // Renaming over a read-only or locked file would succeed or fail late; refuse it as writing in
    // place would.
    HandleBeneath writable;
    if ((existing.Info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Refuse(folder, name, EACCES);
    }
    if (const int error = OpenBeneath(folder, name, {GENERIC_WRITE}, writable)) {
        Refuse(folder, name, error);
    }
    return {existing.Info.dwFileAttributes & kKeptAttributes, std::nullopt};
}

BackupPlan PlanBackupBeneath(const OpenFolder& folder, const std::string& backupName,
                             const std::string& sheetName, std::uint64_t sheetSize) {
    for (const std::string* name : {&backupName, &sheetName}) {
        if (const int refusal = RefusalOfName(folder, *name)) {
            Refuse(folder, backupName, refusal);
        }
    }
    HandleBeneath backup;
    if (const int error = LookAt(folder, backupName, backup)) {
        // A link (a reparse point, or one the system follows unseen) is never written through.
        if (error != ENOENT) {
            Refuse(folder, backupName, error == ELOOP ? EEXIST : error);
        }
    } else if (backup.IsFolder()) {
        Refuse(folder, backupName, EISDIR);
    } else if ((backup.Info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Refuse(folder, backupName, EACCES);
    }
    HandleBeneath sheet;
    const int sheetError = LookAt(folder, sheetName, sheet);
    if (sheetError != 0 && sheetError != ELOOP) {
        Refuse(folder, backupName, sheetError);
    }
    if (sheetError == ELOOP) {
        return {{FILE_ATTRIBUTE_NORMAL, std::nullopt}, false};
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(sheet.Info.nFileSizeHigh) << 32) | sheet.Info.nFileSizeLow;
    return {{sheet.Info.dwFileAttributes & kKeptAttributes, std::nullopt},
            !sheet.IsFolder() && sheet.Info.nNumberOfLinks == 1 && size == sheetSize};
}

TemporaryBeneath WriteTemporaryBeneath(const OpenFolder& folder, const std::string& name,
                                       const KeptAttributes& kept, std::string_view content, bool flush) {
    if (const int refusal = RefusalOfName(folder, name)) {
        Refuse(folder, name, refusal);
    }
    TemporaryBeneath temporary{{}, TemporaryFolderClaim(folder.ClaimedName())};
    HandleBeneath file;
    if (const int error = CreateTemporary(folder, name, kept.Permissions, temporary.Name, file)) {
        Refuse(folder, name, error);
    }
    if (!WriteAll(file.File.get(), content) || (flush && !FlushFileBuffers(file.File.get()))) {
        const int error = ErrnoOf(GetLastError());
        RemoveByHandle(file.File.get());
        Refuse(folder, name, error);
    }
    HoldTemporary(folder.ClaimedName(), temporary.Name, std::move(file.File));
    return temporary;
}

std::optional<TemporaryBeneath> LinkTemporaryBeneath(const OpenFolder& folder, const std::string& sheetName,
                                                     const std::string& backupName) {
    if (RefusalOfName(folder, sheetName) != 0 || RefusalOfName(folder, backupName) != 0) {
        return std::nullopt;
    }
    // The sheet is held, without sharing its deletion, so that the name linked is the file checked.
    HandleBeneath sheet;
    if (OpenBeneath(folder, sheetName, {FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE}, sheet) !=
            0 ||
        sheet.IsFolder() || sheet.Info.nNumberOfLinks != 1) {
        return std::nullopt;
    }
    TemporaryBeneath temporary{{}, TemporaryFolderClaim(folder.ClaimedName())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary.Name = NewTemporaryName(backupName);
        // By path: the link made is checked below to be the sheet's file, held meanwhile.
        if (CreateHardLinkW(WidePath(folder.PathOf(temporary.Name)).c_str(),
                            WidePath(folder.PathOf(sheetName)).c_str(), nullptr)) {
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) {
            return std::nullopt;
        }
    }
    sheet.File.Close();
    HandleBeneath linked;
    // Held as a written temporary is, so that a batch flushes it alike; one that cannot be is copied.
    if (OpenBeneath(folder, temporary.Name, {GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE},
                    linked) != 0) {
        RemoveBeneath(folder, temporary.Name);
        return std::nullopt;
    }
    if (!SameFile(linked.Info, sheet.Info)) {
        RemoveByHandle(linked.File.get());
        return std::nullopt;
    }
    HoldTemporary(folder.ClaimedName(), temporary.Name, std::move(linked.File));
    return temporary;
}

std::error_code ReplaceBeneath(const OpenFolder& folder, const std::string& temporary,
                               const std::string& name) {
    if (const int refusal = RefusalOfName(folder, name)) {
        return ErrorOf(refusal);
    }
    HandleBeneath opened;
    int refusal = 0;
    const HANDLE file = HandleOfTemporary(folder, temporary, opened, refusal);
    if (file == nullptr) {
        return ErrorOf(refusal);
    }
    const std::error_code error = RenameByHandle(file, static_cast<HANDLE>(folder.Handle()), name, true);
    if (!error) {
        LetGoOfTemporary(folder.ClaimedName(), temporary);
    }
    return error;
}

std::error_code RemoveTemporaryBeneath(const OpenFolder& folder, const std::string& temporary) {
    if (!IsTemporaryName(temporary) || RefusalOfName(folder, temporary) != 0) {
        return ErrorOf(EINVAL);
    }
    HandleBeneath opened;
    int refusal = 0;
    const HANDLE file = HandleOfTemporary(folder, temporary, opened, refusal);
    if (file == nullptr) {
        return ErrorOf(refusal);
    }
    const std::error_code error = RemoveByHandle(file);
    LetGoOfTemporary(folder.ClaimedName(), temporary);
    return error;
}

std::error_code FlushOpenFolder(const OpenFolder& folder) {
    if (folder.Refusal() != 0) {
        return ErrorOf(folder.Refusal());
    }
    if (FlushFileBuffers(static_cast<HANDLE>(folder.Handle()))) {
        return {};
    }
    // A file system that cannot flush a folder on its own says so; nothing more can be asked of it.
    const DWORD error = GetLastError();
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ? std::error_code()
                                                                           : ErrorOf(ErrnoOf(error));
}

std::error_code FlushTemporaries(const std::vector<TemporaryIn>& temporaries) {
    for (const auto& [folder, name] : temporaries) {
        HandleBeneath opened;
        int refusal = 0;
        const HANDLE file = HeldTemporary(folder->ClaimedName(), name);
        if (file == nullptr) {
            refusal = OpenBeneath(*folder, name, {GENERIC_WRITE}, opened);
        }
        if (refusal != 0) {
            return ErrorOf(refusal);
        }
        if (!FlushFileBuffers(file != nullptr ? file : opened.File.get())) {
            return LastWindowsError();
        }
    }
    return {};
}

} // namespace velmora
