#include "files/win32/HandlesBeneath.h"

#include "files/PathNames.h"
#include "files/WritesBeneath.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <vector>
#include <winternl.h>

namespace velmora {

std::string PathOnVolume(HANDLE file) {
    std::vector<char> buffer(sizeof(FILE_NAME_INFO) + 65536);
    if (!GetFileInformationByHandleEx(file, FileNameInfo, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        return {};
    }
    const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer.data());
    return Utf8FromWide(std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t)));
}

namespace {

int ErrnoOfStatus(NTSTATUS status) {
    return ErrnoOf(RtlNtStatusToDosError(status));
}

std::wstring WideName(const std::string& name) {
    std::wstring wide = WideFromUtf8(name);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

UNICODE_STRING CountedString(std::wstring& text) {
    const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return {bytes, bytes, text.data()};
}

// True when the file lies on the folder's volume at the folder's path with the name after it.
bool LiesAt(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info, const OpenFolder& folder,
            const std::string& name) {
    BY_HANDLE_FILE_INFORMATION folderInfo{};
    const std::string& root = folder.FinalPath();
    const std::string final = PathOnVolume(file);
    if (!GetFileInformationByHandle(static_cast<HANDLE>(folder.Handle()), &folderInfo) ||
        folderInfo.dwVolumeSerialNumber != info.dwVolumeSerialNumber || final.empty() || root.empty()) {
        return false;
    }
    const std::string expected = (root.back() == '\\' ? root : root + "\\") + Utf8FromWide(WideName(name));
    return SameFileName(final, expected);
}

} // namespace

int OpenBeneath(const OpenFolder& folder, const std::string& name, const OpenRequest& request,
                HandleBeneath& opened) {
    if (folder.Refusal() != 0) {
        return folder.Refusal();
    }
    std::wstring wide = WideName(name);
    UNICODE_STRING objectName = CountedString(wide);
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE,
                               static_cast<HANDLE>(folder.Handle()), nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE file = INVALID_HANDLE_VALUE;
    const NTSTATUS status = NtCreateFile(&file, request.Access | SYNCHRONIZE, &attributes, &io, nullptr,
                                         request.Attributes, request.Share, request.Disposition,
                                         FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(status)) {
        return ErrnoOfStatus(status);
    }
    opened.File.Reset(file);
    if (!GetFileInformationByHandle(file, &opened.Info)) {
        return ErrnoOf(GetLastError());
    }
    const bool link = (opened.Info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (link || !LiesAt(file, opened.Info, folder, name)) {
        if (request.Disposition == FILE_CREATE) {
            RemoveByHandle(file);
        }
        opened.File.Close();
        return ELOOP;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        opened.File.Close();
        return EINVAL;
    }
    return 0;
}

std::error_code RenameByHandle(HANDLE file, HANDLE into, const std::string& name, bool replace) {
    const std::wstring wide = WideName(name);
    const std::size_t size = sizeof(FILE_RENAME_INFORMATION) + wide.size() * sizeof(wchar_t);
    std::string buffer(size, '\0');
    auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = into;
    rename->FileNameLength = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFORMATION, FileName), wide.data(),
                rename->FileNameLength);
    IO_STATUS_BLOCK io{};
    // The system's own call: the documented wrapper refuses a folder to rename relative to under Wine.
    const NTSTATUS status =
        NtSetInformationFile(file, &io, rename, static_cast<ULONG>(size), FileRenameInformation);
    return NT_SUCCESS(status) ? std::error_code()
                              : std::error_code(ErrnoOfStatus(status), std::generic_category());
}

std::error_code RemoveByHandle(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)
               ? std::error_code()
               : LastWindowsError();
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

} // namespace velmora
