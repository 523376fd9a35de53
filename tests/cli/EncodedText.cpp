#include "EncodedText.h"

#include <cstdlib>
#include <stdexcept>

namespace velmora::fix {

using velmora::testkit::ReadFile;
using velmora::testkit::WriteFile;

std::string Encoded(const std::string& utf8, const std::string& encoding,
                    const testkit::TempFolder& scratch) {
    WriteFile(scratch / "in", utf8);
    const bool bom = encoding.size() > 4 && encoding.compare(encoding.size() - 4, 4, "+BOM") == 0;
    const std::string name = bom ? encoding.substr(0, encoding.size() - 4) : encoding;
    const std::string command =
        "iconv -f UTF-8 -t " + name + " " + (scratch / "in") + " > " + (scratch / "out");
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("iconv cannot write " + encoding);
    }
    std::string bytes = ReadFile(scratch / "out");
    if (bom && name == "UTF-8") {
        bytes.insert(0, "\xEF\xBB\xBF");
    }
    if (bom && name == "UTF-16LE") {
        bytes.insert(0, "\xFF\xFE");
    }
    if (bom && name == "UTF-16BE") {
        bytes.insert(0, "\xFE\xFF");
    }
    return bytes;
}

} // namespace velmora::fix
