#include "files/testing/ScratchFiles.h"

#include <filesystem>
#include <random>
#include <stdexcept>

namespace velmora::testkit {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& base) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::u8string root =
        base.empty() ? fs::temp_directory_path().u8string() : std::u8string(base.begin(), base.end());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path folder = fs::path(root) / ("velmora-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            const std::u8string name = folder.make_preferred().u8string();
            path_.assign(name.begin(), name.end());
            path_ += '\\';
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

} // namespace velmora::testkit
