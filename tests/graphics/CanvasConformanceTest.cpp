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

void PaintOnFake(const std::function<void(Canvas&)>& draw) {
    FakeCanvas canvas;
    draw(canvas);
}

INSTANTIATE_TEST_SUITE_P(Fake, CanvasConformanceTest, ::testing::Values(&PaintOnFake));

} // namespace
} // namespace velmora
