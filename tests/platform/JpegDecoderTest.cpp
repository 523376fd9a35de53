#include "platform/JpegDecoder.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sstream>

namespace velmora {
namespace {

// Encodes a picture with libjpeg at top quality: left half `left`, right half
// `right` (0xRRGGBB).
std::string EncodeJpeg(int width, int height, std::uint32_t left, std::uint32_t right, bool grey = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = x < width / 2 ? left : right;
            if (grey) {
                row[static_cast<std::size_t>(x)] = static_cast<unsigned char>(colour & 0xFF);
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                row[static_cast<std::size_t>(x * 3 + c)] = static_cast<unsigned char>(colour >> (16 - 8 * c));
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string data(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return data;
}

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

void ExpectNear(std::uint32_t actual, std::uint32_t expected) {
    for (const int shift : {16, 8, 0}) {
        EXPECT_NEAR(Channel(actual, shift), Channel(expected, shift), 6)
            << std::hex << actual << " vs " << expected;
    }
    EXPECT_EQ(actual >> 24, 0xFFu);
}

struct PictureCase {
    const char* name;
    int width;
    int height;
    std::uint32_t left;
    std::uint32_t right;
    bool grey;
};

TEST(JpegDecoderTest, DecodesSizeAndColours) {
    const PictureCase cases[] = {
        {"colour", 64, 32, 0xC00000, 0x0000C0, false},
        {"odd size", 17, 9, 0x20A040, 0xFFFFFF, false},
        {"grey", 16, 16, 0x404040, 0xD0D0D0, true},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedPicture picture = DecodeJpeg(EncodeJpeg(c.width, c.height, c.left, c.right, c.grey));
        EXPECT_EQ(picture.Width, c.width);
        EXPECT_EQ(picture.Height, c.height);
        EXPECT_EQ(picture.Pixels.size(), static_cast<std::size_t>(c.width * c.height));
        if (picture.Pixels.size() != static_cast<std::size_t>(c.width * c.height)) {
            continue;
        }
        const std::size_t lastRow = static_cast<std::size_t>((c.height - 1) * c.width);
        ExpectNear(picture.Pixels[0], c.left | 0xFF000000u);
        ExpectNear(picture.Pixels[lastRow + static_cast<std::size_t>(c.width) - 1], c.right | 0xFF000000u);
    }
}

TEST(JpegDecoderTest, TheBannerHasItsSize) {
    std::ifstream in(VELMORA_IMAGES "/banner.jpg", std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    const DecodedPicture banner = DecodeJpeg(data.str());
    EXPECT_EQ(banner.Width, 502);
    EXPECT_EQ(banner.Height, 287);
    ExpectNear(banner.Pixels[static_cast<std::size_t>(280 * 502 + 250)], 0xFFFFFFFFu);
}

TEST(JpegDecoderTest, BrokenDataThrows) {
    const std::string good = EncodeJpeg(32, 32, 0xFF0000, 0x00FF00);
    const struct {
        const char* name;
        std::string data;
    } cases[] = {
        {"empty", ""},
        {"not a JPEG", "GIF89a\x01\x00\x01\x00"},
        {"header only", good.substr(0, 20)},
        {"cut in the middle", good.substr(0, good.size() / 2)},
        {"no end marker", good.substr(0, good.size() - 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeJpeg(c.data), JpegError);
    }
}

} // namespace
} // namespace velmora
