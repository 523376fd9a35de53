#include "files/FolderTree.h"

#include <filesystem>

namespace velmora {

std::error_code AddRegularFilesBelow(const std::string& folder, std::vector<std::string>& found) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored)) {
            found.push_back(it->path().string());
        }
    }
    return error;
}

} // namespace velmora
