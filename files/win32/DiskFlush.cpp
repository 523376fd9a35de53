#include "files/DiskFlush.h"

#include "files/win32/WidePaths.h"

namespace velmora {

// Windows flushes one file at a time; the renames that follow write their folders' entries through.
std::error_code FlushToDisk(const std::vector<std::string>& files) {
    for (const std::string& path : files) {
        WinHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !FlushFileBuffers(file.get())) {
            return LastWindowsError();
        }
    }
    return {};
}

} // namespace velmora
