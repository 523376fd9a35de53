#include "files/PathNames.h"

namespace velmora {

std::size_t LastSeparator(std::string_view path) {
    return path.rfind('/');
}

bool SameFileName(std::string_view a, std::string_view b) {
    return a == b;
}

std::size_t LastNameBoundary(std::string_view path) {
    return LastSeparator(path);
}

std::string ContainingFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace velmora
