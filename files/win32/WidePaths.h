#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <windows.h>

// Windows names files in UTF-16; the engine's paths are UTF-8. Every call of the file layer goes
// through these.
namespace velmora {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The path for a wide file call: `/` and `\` both separate folders, and a path too long for MAX_PATH
// is made absolute with the \\?\ prefix that lifts the limit.
std::wstring WidePath(const std::string& path);

// The errno value nearest to a Windows error code, so that messages and callers read one kind of
// error on every system.
int ErrnoOf(DWORD error);
std::error_code LastWindowsError();

// Where an open file or folder really lies, every link resolved, as a UTF-8 path without the long-path
// prefix; empty when the system cannot tell.
std::string FinalPathOf(HANDLE file);

// Writes all of `data` to an open file, in pieces the call can take; false when a piece fails.
bool WriteAll(HANDLE file, std::string_view data);

// Owns one handle and closes it once.
class WinHandle {
public:
    explicit WinHandle(HANDLE handle) : handle_(handle) {}
    ~WinHandle() { Close(); }
    WinHandle(WinHandle&& other) noexcept : handle_(other.Release()) {}
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;
    WinHandle& operator=(WinHandle&&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle) != 0;
    }
    // Closes the handle held and holds `handle` instead.
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    // Gives the handle up without closing it.
    HANDLE Release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

} // namespace velmora
