#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(BitmapTest, SizesBelowOneMakeAnEmptyBitmap) {
    struct Case {
        std::int32_t width, height;
        bool empty;
    };
    const Case cases[] = {{0, 5, true},  {5, 0, true},  {-3, 4, true},
                          {4, -3, true}, {1, 1, false}, {3, 2, false}};
    for (const Case& c : cases) {
        const Bitmap bitmap(c.width, c.height, 0xFF112233);
        EXPECT_EQ(bitmap.IsEmpty(), c.empty) << c.width << "x" << c.height;
        EXPECT_EQ(bitmap.Pixels().size(), c.empty ? 0u : static_cast<std::size_t>(c.width * c.height));
        EXPECT_EQ(bitmap.Width(), c.empty ? 0 : c.width);
    }
}

TEST(BitmapTest, PixelsOutsideReadTransparentAndIgnoreWrites) {
    Bitmap bitmap(3, 2, 0xFF000000);
    bitmap.SetPixel(2, 1, 0xFFABCDEF);
    bitmap.SetPixel(3, 0, 0xFFFFFFFF);
    bitmap.SetPixel(-1, 0, 0xFFFFFFFF);
    bitmap.SetPixel(0, 2, 0xFFFFFFFF);
    EXPECT_EQ(bitmap.Pixel(2, 1), 0xFFABCDEFu);
    EXPECT_EQ(bitmap.Row(1)[2], 0xFFABCDEFu); // rows are laid out without padding
    EXPECT_EQ(bitmap.Pixel(3, 0), 0u);
    EXPECT_EQ(bitmap.Pixel(0, -1), 0u);
    EXPECT_TRUE(bitmap.Row(2).empty());
    for (std::size_t i = 0; i + 1 < bitmap.Pixels().size(); ++i) {
        EXPECT_EQ(bitmap.Pixels()[i], 0xFF000000u) << i;
    }
}

TEST(BitmapTest, ColoursConvertToArgbAndBack) {
    struct Case {
        TColor color;
        std::uint8_t alpha;
        Argb argb;
    };
    const Case cases[] = {
        {clRed, 0xFF, 0xFFFF0000},
        {clBlue, 0xFF, 0xFF0000FF},
        {RGBColor(0x12, 0x34, 0x56), 0x80, 0x80123456},
        {clBlack, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArgbFromColor(c.color, c.alpha), c.argb);
        EXPECT_EQ(ColorFromArgb(c.argb), c.color);
        EXPECT_EQ(AlphaOf(c.argb), c.alpha);
    }
}

} // namespace
} // namespace velmora
