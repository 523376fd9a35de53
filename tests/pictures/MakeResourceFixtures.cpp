// Writes the pictures that the tests load as program resources, and the resource list naming them.
#include "pictures/testing/GifWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::vector<std::uint8_t> gif = velmora::testkit::MakeGif(
        20, 10,
        {{.Left = 0, .Top = 0, .Width = 4, .Height = 4, .ColorIndex = 0, .Delay = 50},
         {.Left = 6, .Top = 2, .Width = 3, .Height = 2, .ColorIndex = 2, .Delay = 20}});
    const std::string list = "<RCC><qresource prefix=\"/rcdata\">"
                             "<file>Anim</file><file>Broken</file>"
                             "</qresource></RCC>\n";
    const bool written = Write(folder / "Anim", std::string(gif.begin(), gif.end())) &&
                         Write(folder / "Broken", "not a picture") && Write(folder / "fixtures.qrc", list);
    return written ? 0 : 1;
}
