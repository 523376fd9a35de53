#include "pictures/testing/PixelDump.h"

#include "pictures/BitmapPicture.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace velmora::testkit {

bool DumpDecodedPixels(PictureDecoder& decoder, const std::string& input, const std::string& output) {
    std::ifstream file(input, std::ios::binary);
    std::vector<std::uint8_t> block((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.eof() && !file) {
        return false;
    }
    PictureDecoder::OpenedStream opened = decoder.OpenStream(std::move(block));
    if (!opened.Created) {
        return false;
    }
    const PictureDecoder::Decoded decoded = decoder.Decode(*opened.Stream);
    const auto* picture = dynamic_cast<const BitmapPicture*>(decoded.Picture.get());
    if (!decoded.Accepted || picture == nullptr) {
        return false;
    }
    const Bitmap& pixels = picture->Pixels();
    std::ofstream out(output, std::ios::binary);
    out << pixels.Width() << ' ' << pixels.Height() << '\n';
    for (const Argb pixel : pixels.Pixels()) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.put(static_cast<char>((pixel >> shift) & 0xFF));
        }
    }
    return static_cast<bool>(out);
}

int DumpPictures(PictureDecoder& decoder, int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::cerr << "usage: " << argv[0] << " INPUT OUTPUT [INPUT OUTPUT...]\n";
        return 2;
    }
    int status = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!DumpDecodedPixels(decoder, argv[i], argv[i + 1])) {
            std::cerr << argv[i] << ": not decoded\n";
            status = 1;
        }
    }
    return status;
}

} // namespace velmora::testkit
