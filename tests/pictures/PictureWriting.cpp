#include "PictureWriting.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sstream>

namespace velmora::testkit {

namespace fs = std::filesystem;

void LoadPicture(THTMLPicture& picture, const std::vector<std::uint8_t>& bytes) {
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    picture.LoadStream(&stream);
}

std::vector<std::uint8_t> ReadPictureFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> MagickPicture(const std::string& arguments, const std::string& output) {
    std::random_device random;
    fs::path folder;
    do {
        folder = fs::temp_directory_path() / ("velmora-magick-" + std::to_string(random()));
    } while (!fs::create_directory(folder));
    const std::string command = "cd '" + folder.string() + "' && convert " + arguments + " " + output;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<std::uint8_t> bytes = ReadPictureFile((folder / output).string());
    fs::remove_all(folder);
    return bytes;
}

} // namespace velmora::testkit
