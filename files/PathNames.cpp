#include "files/PathNames.h"

namespace velmora {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderPart(std::string_view path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

} // namespace velmora
