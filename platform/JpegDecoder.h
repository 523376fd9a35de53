#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace velmora {

// A decoded picture: rows top to bottom, each pixel 0xFFRRGGBB.
struct DecodedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes baseline and progressive JPEG data (greyscale, RGB or CMYK) with
// libjpeg. Throws JpegError when the data is not a JPEG picture or is cut short.
DecodedPicture DecodeJpeg(std::string_view data);

} // namespace velmora
