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

} // namespace velmora
