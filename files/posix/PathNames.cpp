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

} // namespace velmora
