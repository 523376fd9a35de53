#include "platform/win32/WicPictureDecoder.h"

#include "pictures/BitmapPicture.h"
#include "pictures/testing/GifWriter.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// A 24-bit BMP two pixels wide and one high, with its row padded to four bytes.
std::vector<std::uint8_t> TwoPixelBmp(Argb left, Argb right) {
    std::vector<std::uint8_t> data = {'B', 'M', 62,   0,    0, 0, 0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                      2,   0,   0,    0,    1, 0, 0,    0,    1, 0, 24, 0, 0, 0, 0,  0, 8, 0,
                                      0,   0,   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    for (const Argb pixel : {left, right}) {
        data.push_back(static_cast<std::uint8_t>(pixel));
        data.push_back(static_cast<std::uint8_t>(pixel >> 8));
        data.push_back(static_cast<std::uint8_t>(pixel >> 16));
    }
    data.insert(data.end(), {0, 0});
    return data;
}

struct DecodeCase {
    const char* name;
    std::vector<std::uint8_t> data;
    // Empty when the decoder must refuse the data.
    Bitmap expected;
};

TEST(WicPictureDecoderTest, DecodesTheWantedFormatsAndRefusesTheRest) {
    using testkit::GifImage;
    const std::vector<DecodeCase> cases = {
        {"a GIF's first image, at its own size",
         testkit::MakeGif(10, 8,
                          {GifImage{.Left = 2, .Top = 1, .Width = 4, .Height = 3, .ColorIndex = 1},
                           GifImage{.Width = 10, .Height = 8, .ColorIndex = 2}}),
         Bitmap(4, 3, testkit::kGifPalette[1])},
        {"a BMP, its channels in order", TwoPixelBmp(0xFF102030, 0xFFC0B0A0),
         [] {
             Bitmap expected(2, 1);
             expected.SetPixel(0, 0, 0xFF102030);
             expected.SetPixel(1, 0, 0xFFC0B0A0);
             return expected;
         }()},
        {"text", Bytes("FILE \"album.wav\" WAVE\r\n"), {}},
        {"a cut GIF header", Bytes("GIF89a"), {}},
        {"nothing", {}, {}},
    };
    WicPictureDecoder decoder;
    for (const DecodeCase& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        PictureDecoder::OpenedStream opened = decoder.OpenStream(testCase.data);
        ASSERT_TRUE(opened.Created);
        const PictureDecoder::Decoded decoded = decoder.Decode(*opened.Stream);
        if (testCase.expected.IsEmpty()) {
            EXPECT_FALSE(decoded.Accepted);
            continue;
        }
        ASSERT_TRUE(decoded.Accepted);
        const auto& picture = dynamic_cast<const BitmapPicture&>(*decoded.Picture);
        EXPECT_EQ(picture.Pixels(), testCase.expected);
        // 96 pixels to the inch, 2540 hundredths of a millimetre, rounded to the nearest.
        EXPECT_EQ(picture.HimetricWidth(), (testCase.expected.Width() * 2540 + 48) / 96);
    }
}

} // namespace
} // namespace velmora
