#pragma once

#include "pictures/PictureDecoder.h"

#include <string>

namespace velmora::testkit {

// Decodes the picture file at `input` with `decoder` and writes its pixels to `output`: a line
// "width height", then each pixel as 0xAARRGGBB in four little-endian bytes, rows top to bottom. The
// same file from two decoders compares their pixels. Returns false, writing nothing, when the file
// cannot be read or the decoder refuses it.
bool DumpDecodedPixels(PictureDecoder& decoder, const std::string& input, const std::string& output);

// The command line of a dump program: pairs of input and output files after the program's name.
int DumpPictures(PictureDecoder& decoder, int argc, char** argv);

} // namespace velmora::testkit
