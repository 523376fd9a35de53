#include "markup/PictureDrawing.h"

#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::string Band(const testkit::DrawRecord& r) {
    const TColor c = r.BrushState.Color;
    return std::to_string(r.Area.Left) + "," + std::to_string(r.Area.Top) + "," +
           std::to_string(r.Area.Right) + "," + std::to_string(r.Area.Bottom) + ":" +
           std::to_string(RedOf(c)) + "." + std::to_string(GreenOf(c)) + "." + std::to_string(BlueOf(c)) +
           (r.BrushState.Style == BrushStyle::Clear ? " frame" : "");
}

TEST(FillGradientBandsTest, BandsStepEvenlyAndRoundHalvesToEven) {
    struct Case {
        Rect rect;
        TColor from, to;
        bool horizontal;
        std::int32_t count;
        TColor frame;
        std::vector<std::string> bands;
    };
    const Case cases[] = {
        // 16-pixel bands overlapping by one; 127.5 rounds to 128 and -127.5 to -128.
        {{0, 0, 64, 10},
         clRed,
         clBlue,
         true,
         4,
         clNone,
         {"0,0,17,10:255.0.0", "16,0,33,10:191.0.64", "32,0,49,10:127.0.128", "48,0,64,10:64.0.191"}},
        {{0, 0, 10, 10},
         clBlack,
         clWhite,
         false,
         3,
         clNone,
         {"0,0,10,4:0.0.0", "0,3,10,7:85.85.85", "0,7,10,10:170.170.170"}},
        {{0, 0, 10, 4}, clBlack, clWhite, false, 0, clNone, {"0,0,10,4:0.0.0"}},
        {{0, 0, 10, 4}, clBlack, clWhite, false, -5, clNone, {"0,0,10,4:0.0.0"}},
        {{2, 2, 8, 8},
         clWhite,
         clWhite,
         true,
         1,
         clRed,
         {"2,2,8,8:255.255.255", "2,2,8,8:255.255.255 frame"}},
        // Far from the origin, bands stay where they belong.
        {{40000, 0, 40064, 2},
         clBlack,
         clBlack,
         true,
         2,
         clNone,
         {"40000,0,40033,2:0.0.0", "40032,0,40064,2:0.0.0"}},
    };
    for (const Case& c : cases) {
        testkit::FakeCanvas canvas;
        FillGradientBands(canvas, c.from, c.to, c.horizontal, c.rect, c.count, c.frame);
        std::vector<std::string> bands;
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Rectangle)) {
            bands.push_back(Band(r));
        }
        EXPECT_EQ(bands, c.bands) << c.rect.Left << "," << c.rect.Right << " in " << c.count;
        if (c.frame != clNone) {
            EXPECT_EQ(canvas.RecordsOf(testkit::DrawKind::Rectangle).back().PenState.Color, c.frame);
        }
    }
}

TEST(FillGradientBandsTest, SystemColoursAreResolvedFirst) {
    const SysColorProvider previous = SetSysColorProvider(
        [](int index) -> std::optional<TColor> { return RGBColor(0, 0, index == 5 ? 200 : 0); });
    testkit::FakeCanvas canvas;
    FillGradientBands(canvas, clWindow, clWindow, true, {0, 0, 4, 4}, 1, clNone);
    SetSysColorProvider(previous);
    EXPECT_EQ(canvas.RecordsOf(testkit::DrawKind::Rectangle).front().BrushState.Color, RGBColor(0, 0, 200));
}

TEST(PictureDrawingTest, RoundingSendsHalvesToTheEvenNeighbour) {
    const std::pair<double, std::int32_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {-191.25, -191}, {1e12, 2147483647},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
    }
}

TEST(PictureDrawingTest, ScaledRectanglesRoundAndStayWithin32Bits) {
    struct Case {
        std::int32_t x, y;
        Size size;
        double scale;
        Rect expected;
    };
    const Case cases[] = {
        {1, 2, {16, 16}, 1.5, {1, 2, 25, 26}},
        {0, 0, {5, 3}, 0.5, {0, 0, 2, 2}}, // 2.5 and 1.5 round to even
        {2147483000, 0, {16, 16}, 1000.0, {2147483000, 0, 2147483647, 16000}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaledRect(c.x, c.y, c.size, c.scale), c.expected) << c.scale;
    }
}

TEST(PictureDrawingTest, PrintedPicturesLieOnWhitePaper) {
    const std::pair<Argb, Argb> cases[] = {
        {0x00000000, 0xFFFFFFFF},
        {0xFFFF0000, 0xFFFF0000},
        {0x80000000, 0xFF7F7F7F},
        {0x80FF0000, 0xFFFF7F7F},
    };
    for (const auto& [pixel, expected] : cases) {
        EXPECT_EQ(OnWhite(Bitmap(1, 1, pixel)).Pixel(0, 0), expected) << std::hex << pixel;
    }
}

TEST(PictureDrawingTest, StretchedCopiesFillTheWholeRectangle) {
    testkit::FakeCanvas canvas;
    StretchBitmapToCanvas(canvas, {3, 4, 30, 40}, Bitmap(2, 2, 0x00102030));
    const auto drawn = canvas.RecordsOf(testkit::DrawKind::StretchBitmap);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn.front().Area, (Rect{3, 4, 30, 40}));
    EXPECT_EQ(drawn.front().BitmapSize, (Size{2, 2}));
}

} // namespace
} // namespace velmora
