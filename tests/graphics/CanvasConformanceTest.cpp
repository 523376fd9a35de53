#include "tests/graphics/CanvasConformance.h"

#include "graphics/testing/FakeCanvas.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::FakeCanvas;

FontState Bold() {
    FontState font;
    font.Bold = true;
    font.Size = 14;
    font.Color = clRed;
    return font;
}

TEST_P(CanvasConformanceTest, KeepsTheStateItIsGivenAndDrawingLeavesIt) {
    Paint([](Canvas& canvas) {
        EXPECT_EQ(canvas.CurrentBrush(), (Brush{clWhite, BrushStyle::Solid})) << "a new canvas";
        EXPECT_EQ(canvas.CurrentPen(), (Pen{clBlack, 1, PenStyle::Solid})) << "a new canvas";
        EXPECT_EQ(canvas.PenPos(), (Point{0, 0})) << "a new canvas";
        EXPECT_EQ(canvas.ClipRect(), std::nullopt) << "a new canvas";

        struct Row {
            const char* Name;
            std::function<void(Canvas&)> Change;
            std::function<bool(const Canvas&)> Holds;
        };
        const Row rows[] = {
            {"font", [](Canvas& c) { c.SetFont(Bold()); },
             [](const Canvas& c) {
                 return c.Font() == Bold();
             }},
            {"font colour", [](Canvas& c) { c.SetFontColor(clBlue); },
             [](const Canvas& c) {
                 return c.Font().Color == clBlue && c.Font().Bold;
             }},
            {"clear brush", [](Canvas& c) { c.SetBrushColor(clNone); },
             [](const Canvas& c) {
                 return c.TextBackground() == clNone;
             }},
            {"solid brush again", [](Canvas& c) { c.SetBrushColor(clYellow); },
             [](const Canvas& c) {
                 return c.CurrentBrush() == Brush{clYellow, BrushStyle::Solid};
             }},
            {"pen",
             [](Canvas& c) {
                 c.SetPen({clGreen, 3, PenStyle::Clear});
             },
             [](const Canvas& c) {
                 return c.CurrentPen() == Pen{clGreen, 3, PenStyle::Clear};
             }},
            {"pen colour and width",
             [](Canvas& c) {
                 c.SetPenColor(clRed);
                 c.SetPenWidth(2);
             },
             [](const Canvas& c) {
                 return c.CurrentPen() == Pen{clRed, 2, PenStyle::Clear};
             }},
            {"move", [](Canvas& c) { c.MoveTo(3, 4); },
             [](const Canvas& c) {
                 return c.PenPos() == Point{3, 4};
             }},
            {"line moves the pen", [](Canvas& c) { c.LineTo(9, 4); },
             [](const Canvas& c) {
                 return c.PenPos() == Point{9, 4};
             }},
            {"polyline leaves the pen",
             [](Canvas& c) {
                 const Point corner[] = {{1, 1}, {5, 5}};
                 c.Polyline(corner);
             },
             [](const Canvas& c) {
                 return c.PenPos() == Point{9, 4};
             }},
            {"clip",
             [](Canvas& c) {
                 c.SetClipRect(Rect{0, 0, 40, 30});
             },
             [](const Canvas& c) {
                 return c.ClipRect() == Rect{0, 0, 40, 30};
             }},
            {"clip narrowed",
             [](Canvas& c) {
                 c.IntersectClipRect({10, 5, 60, 60});
             },
             [](const Canvas& c) {
                 return c.ClipRect() == Rect{10, 5, 40, 30};
             }},
            {"clip scope gives it back",
             [](Canvas& c) {
                 const ClipScope scope(c);
                 c.SetClipRect(std::nullopt);
             },
             [](const Canvas& c) {
                 return c.ClipRect() == Rect{10, 5, 40, 30};
             }},
            {"scroll arrow keeps brush and pen",
             [](Canvas& c) {
                 c.DrawScrollArrow({0, 0, 16, 16}, ScrollArrow::Up);
             },
             [](const Canvas& c) {
                 return c.CurrentBrush() == Brush{clYellow, BrushStyle::Solid} &&
                        c.CurrentPen() == Pen{clRed, 2, PenStyle::Clear};
             }},
            {"no clip", [](Canvas& c) { c.SetClipRect(std::nullopt); },
             [](const Canvas& c) {
                 return !c.ClipRect().has_value();
             }},
        };
        for (const Row& row : rows) {
            row.Change(canvas);
            EXPECT_TRUE(row.Holds(canvas)) << row.Name;
            Rect cell{0, 0, 100, 40};
            canvas.DrawText("kept", cell, DT_SINGLELINE);
            canvas.FillRect({0, 0, 5, 5});
            EXPECT_TRUE(row.Holds(canvas)) << row.Name << ", after drawing";
        }
    });
}

TEST_P(CanvasConformanceTest, MeasuresByFaceNotByColour) {
    Paint([](Canvas& canvas) {
        canvas.SetFont(Bold());
        const Size plain = canvas.TextExtent("Measure me");
        const FontMetrics metrics = canvas.Metrics();
        canvas.SetFontColor(clBlue);
        EXPECT_EQ(canvas.TextExtent("Measure me"), plain);
        EXPECT_EQ(canvas.Metrics(), metrics);
        canvas.SetFont(Bold());
        EXPECT_EQ(canvas.TextExtent("Measure me"), plain) << "the same face again";
    });
}

// Each row was a test of its own for one canvas; now every canvas that draws pixels must pass it.
TEST_P(CanvasPixelConformanceTest, ShapesLinesAndBitmapsFollowGdiPixels) {
    Bitmap bitmap(2, 2, ArgbFromColor(clRed));
    bitmap.SetPixel(1, 0, 0);
    bitmap.SetPixel(0, 1, ArgbFromColor(clBlue));
    bitmap.SetPixel(1, 1, ArgbFromColor(clBlack, 0x80));
    const auto outlines = [](Canvas& canvas) {
        canvas.SetPen({clRed, 1, PenStyle::Solid});
        canvas.SetBrushColor(clBlue);
        canvas.Rectangle({2, 2, 10, 8});
        canvas.SetPen({clRed, 1, PenStyle::Clear});
        canvas.Rectangle({20, 2, 30, 8});
        canvas.SetPen({clGreen, 1, PenStyle::Solid});
        canvas.MoveTo(0, 20);
        canvas.LineTo(10, 20);
        canvas.LineTo(10, 30);
    };
    struct Probe {
        int X, Y;
        TColor Expected;
    };
    const TColor halfGrey = RGBColor(0x7F, 0x7F, 0x7F);
    const std::vector<Probe> outlined = {
        {2, 2, clRed},     {9, 7, clRed},    {10, 7, clWhite},  {9, 8, clWhite},   {5, 5, clBlue}, // outlined
        {20, 2, clBlue},   {28, 6, clBlue},  {29, 6, clWhite},  {28, 7, clWhite}, // clear pen
        {0, 20, clGreen},  {9, 20, clGreen}, {10, 20, clGreen}, {10, 29, clGreen}, {10, 30, clWhite}, // lines
        {32, 32, clWhite}, // clear brush
    };
    struct Row {
        const char* Name;
        std::function<void(Canvas&)> Draw;
        std::vector<Probe> Probes;
    };
    const auto with = [&](std::vector<Probe> more) {
        more.insert(more.end(), outlined.begin(), outlined.end());
        return more;
    };
    const Row rows[] = {
        {"rectangles and lines, a diagonal",
         [&](Canvas& c) {
             outlines(c);
             c.MoveTo(20, 20);
             c.LineTo(24, 24);
             c.SetBrushColor(clNone);
             c.FillRect({30, 30, 35, 35});
         },
         with({{20, 20, clGreen}, {23, 23, clGreen}, {24, 24, clWhite}})},
        {"rectangles and lines, a polyline",
         [&](Canvas& c) {
             outlines(c);
             const Point corner[] = {{20, 20}, {24, 24}, {30, 24}};
             c.Polyline(corner);
             c.SetBrushColor(clNone);
             c.FillRect({30, 30, 35, 35});
         },
         with({{20, 20, clGreen},
               {23, 23, clGreen},
               {24, 24, clGreen},
               {29, 24, clGreen},
               {30, 24, clWhite}})},
        {"bitmaps blend and stretch without smoothing",
         [&](Canvas& c) {
             c.DrawBitmap(1, 1, bitmap);
             c.StretchDrawBitmap({10, 10, 18, 18}, bitmap);
         },
         {{1, 1, clRed},
          {2, 1, clWhite},
          {1, 2, clBlue},
          {2, 2, halfGrey},
          {3, 3, clWhite},
          {10, 10, clRed},
          {13, 13, clRed},
          {14, 10, clWhite},
          {17, 13, clWhite},
          {10, 17, clBlue},
          {17, 17, halfGrey},
          {18, 18, clWhite}}},
    };
    for (const Row& row : rows) {
        const SurfacePixels pixels = Paint(row.Draw, {40, 40});
        ASSERT_TRUE(pixels) << "a canvas in the pixel rows must draw pixels";
        for (const Probe& p : row.Probes) {
            const TColor seen = pixels(p.X, p.Y);
            EXPECT_NEAR(RedOf(seen), RedOf(p.Expected), 1) << row.Name << " " << p.X << "," << p.Y;
            EXPECT_NEAR(GreenOf(seen), GreenOf(p.Expected), 1) << row.Name << " " << p.X << "," << p.Y;
            EXPECT_NEAR(BlueOf(seen), BlueOf(p.Expected), 1) << row.Name << " " << p.X << "," << p.Y;
        }
    }
}

SurfacePixels PaintOnFake(Size /*size*/, const std::function<void(Canvas&)>& draw) {
    FakeCanvas canvas;
    draw(canvas);
    return {};
}

INSTANTIATE_TEST_SUITE_P(Fake, CanvasConformanceTest, ::testing::Values(&PaintOnFake));

} // namespace
} // namespace velmora
