#include "files/PathNames.h"

#include "files/win32/WidePaths.h"

namespace velmora {

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

bool SameFileName(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    const std::wstring wideA = WideFromUtf8(a);
    const std::wstring wideB = WideFromUtf8(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::size_t LastNameBoundary(std::string_view path) {
    return path.find_last_of("\\/:");
}

std::string ContainingFolder(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    if (separator == std::string::npos) {
        return ".";
    }
    // The root keeps its separator: "\", "C:\" or "\\?\C:\".
    const std::size_t drive = path.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
    if (separator == 0 || (separator == drive + 2 && path[drive + 1] == ':')) {
        return path.substr(0, separator + 1);
    }
    return path.substr(0, separator);
}

} // namespace velmora
