#include "files/FileMoves.h"

#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "files/win32/HandlesBeneath.h"
#include "files/win32/TemporaryFile.h"
#include "files/win32/WidePaths.h"

#include <cerrno>
#include <cwctype>

namespace velmora {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The file a path names with every link resolved, as a path; empty when it cannot be opened.
std::string FinalPath(const std::string& path) {
    WinHandle file(CreateFileW(WidePath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() ? FinalPathOf(file.get()) : std::string();
}

// Copies across volumes under a hidden name beside `to`, flushed, then gives it the name `to` without
// replacing, and only then removes the source.
std::error_code MoveAcrossVolumes(const std::string& from, const std::string& to) {
    if (AttributesOf(to) != INVALID_FILE_ATTRIBUTES) {
        return ErrorOf(EEXIST);
    }
    std::string copy;
    {
        WinHandle reserved(CreateHiddenBeside(to, FILE_ATTRIBUTE_NORMAL, copy));
        if (!reserved.valid()) {
            return LastWindowsError();
        }
    }
    const std::wstring wideCopy = WidePath(copy);
    if (!CopyFileW(WidePath(from).c_str(), wideCopy.c_str(), FALSE)) {
        const std::error_code error = LastWindowsError();
        DeleteFileW(wideCopy.c_str());
        return error;
    }
    {
        WinHandle flushed(
            CreateFileW(wideCopy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!flushed.valid() || !FlushFileBuffers(flushed.get())) {
            const std::error_code error = LastWindowsError();
            flushed.Close();
            DeleteFileW(wideCopy.c_str());
            return error;
        }
    }
    if (!MoveFileExW(wideCopy.c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        const std::error_code error = LastWindowsError();
        DeleteFileW(wideCopy.c_str());
        return error;
    }
    if (!DeleteFileW(WidePath(from).c_str())) {
        // The source could not go, so this was no move: take the copy back rather than leave two.
        const std::error_code error = LastWindowsError();
        DeleteFileW(WidePath(to).c_str());
        return error;
    }
    return {};
}

void WriteNow(const WritePlan& plan, std::string_view content) {
    std::string temporary;
    WinHandle file(CreateHiddenBeside(plan.Target, plan.Kept.Permissions, temporary));
    if (!file.valid()) {
        throw Error(CannotCreateMessage(plan.ShownPath, ErrnoOf(GetLastError())));
    }
    const std::wstring wideTemporary = WidePath(temporary);
    const bool written = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
    const DWORD writeError = GetLastError();
    if (!file.Close() || !written ||
        !MoveFileExW(wideTemporary.c_str(), WidePath(plan.Target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const int error = ErrnoOf(written ? GetLastError() : writeError);
        DeleteFileW(wideTemporary.c_str());
        throw Error(CannotCreateMessage(plan.ShownPath, error));
    }
}

} // namespace

std::error_code MoveFileNoReplace(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return ErrorOf(ENOENT);
    }
    const DWORD source = AttributesOf(from);
    if (source == INVALID_FILE_ATTRIBUTES) {
        return LastWindowsError();
    }
    if ((source & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return ErrorOf(EINVAL);
    }
    if ((source & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ErrorOf(EISDIR);
    }
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    if (GetLastError() == ERROR_NOT_SAME_DEVICE) {
        return MoveAcrossVolumes(from, to);
    }
    return LastWindowsError();
}

std::error_code RenameReplacing(const std::string& from, const std::string& to) {
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return LastWindowsError();
}

std::error_code RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) ? std::error_code() : LastWindowsError();
}

bool RegularFileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    WinHandle file(CreateFileW(WidePath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK &&
           GetFileInformationByHandle(file.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

WritePlan PlanFileWrite(const std::string& path) {
    WritePlan plan{path, {FILE_ATTRIBUTE_NORMAL, std::nullopt}, path};
    const DWORD own = AttributesOf(path);
    // Through a link the file it points at is replaced and the link kept.
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const std::string resolved = FinalPath(path);
        if (!resolved.empty()) {
            plan.Target = resolved;
        }
    }
    const DWORD existing = AttributesOf(plan.Target);
    if (existing == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (!IsMissing(error)) {
            throw Error(CannotCreateMessage(path, ErrnoOf(error)));
        }
        return plan;
    }
    if ((existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw Error(CannotCreateMessage(path, EISDIR));
    }
    // Renaming over a read-only or locked file would succeed or fail late; refuse it as writing in
    // place would.
    if ((existing & FILE_ATTRIBUTE_READONLY) != 0) {
        throw Error(CannotCreateMessage(path, EACCES));
    }
    WinHandle probe(CreateFileW(WidePath(plan.Target).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid()) {
        throw Error(CannotCreateMessage(path, ErrnoOf(GetLastError())));
    }
    if (GetFileType(probe.get()) != FILE_TYPE_DISK) {
        throw Error(CannotCreateMessage(path, EINVAL));
    }
    plan.Kept.Permissions = existing & kKeptAttributes;
    return plan;
}

WritePlan PlanBackupWrite(const std::string& backupPath, const std::string& sheetPath) {
    CheckBackupPath(backupPath);
    WinHandle sheet(CreateFileW(WidePath(sheetPath).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!sheet.valid() || !GetFileInformationByHandle(sheet.get(), &info)) {
        throw Error(CannotCreateMessage(backupPath, ErrnoOf(GetLastError())));
    }
    return {backupPath, {info.dwFileAttributes & kKeptAttributes, std::nullopt}, backupPath};
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    WriteNow(PlanFileWrite(path), content);
}

void CheckBackupPath(const std::string& backupPath) {
    const DWORD attributes = AttributesOf(backupPath);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsMissing(error)) {
            return;
        }
        throw Error(CannotCreateMessage(backupPath, ErrnoOf(error)));
    }
    // A link (a symbolic link or a junction) is never written through, whatever it points at.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        throw Error(CannotCreateMessage(backupPath, EEXIST));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw Error(CannotCreateMessage(backupPath, EISDIR));
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw Error(CannotCreateMessage(backupPath, EACCES));
    }
}

void WriteBackupFile(const std::string& backupPath, std::string_view content, const std::string& sheetPath) {
    WriteNow(PlanBackupWrite(backupPath, sheetPath), content);
}

std::error_code SyncFolder(const std::string&) {
    // Every rename here is made with MOVEFILE_WRITE_THROUGH, which puts the folder's entry on disk
    // before it returns; Windows has no flush of a folder of its own.
    return {};
}

bool IsOutsideFolder(const std::string& path, const std::string& folder) {
    std::wstring outer = WideFromUtf8(FinalPath(folder.empty() ? "." : folder));
    std::wstring inner = WideFromUtf8(FinalPath(ContainingFolder(path)));
    if (outer.empty() || inner.empty()) {
        return false;
    }
    // Names differ only in letter case on Windows' file systems.
    for (std::wstring* side : {&outer, &inner}) {
        for (wchar_t& c : *side) {
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
        if (side->back() != L'\\') {
            *side += L'\\';
        }
    }
    return inner.compare(0, outer.size(), outer) != 0;
}

} // namespace velmora
