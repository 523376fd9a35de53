#pragma once

#include "pictures/HTMLPicture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testkit {

// Pictures written for the tests by other programs, and loaded as the controls load them.

// Loads `bytes` into `picture` through a stream, as a window layout's picture data is loaded.
void LoadPicture(THTMLPicture& picture, const std::vector<std::uint8_t>& bytes);
// The bytes of the file at `path`, or none when it cannot be read.
std::vector<std::uint8_t> ReadPictureFile(const std::string& path);
// Writes a picture with ImageMagick in a scratch folder of its own, as `convert ARGUMENTS OUTPUT` there
// (the output's ending chooses the format), and returns its bytes; a failed convert fails the test.
std::vector<std::uint8_t> MagickPicture(const std::string& arguments, const std::string& output);

} // namespace velmora::testkit
