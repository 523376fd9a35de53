#include "cue/probes/ReadOnlyFile.h"

#include "files/win32/WidePaths.h"

#include <algorithm>

namespace velmora {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path) {
    // Others may go on writing, renaming or deleting the file while its header is read.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    open_ = true;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (open_ && owned_) {
        CloseHandle(AsHandle(handle_));
    }
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
    std::size_t filled = 0;
    while (open_ && filled < count) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + filled;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - filled, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(AsHandle(handle_), out + filled, wanted, &read, &at) || read == 0) {
            break;
        }
        filled += read;
    }
    return filled;
}

} // namespace velmora
