#include "graphics/Canvas.h"

#include "graphics/testing/FakeCanvas.h"

#include <array>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::FakeCanvas;

TEST(CanvasTest, BrushColourNoneClearsTheBrush) {
    struct Case {
        TColor color;
        BrushStyle style;
        TColor background;
    };
    const Case cases[] = {
        {clNone, BrushStyle::Clear, clNone},
        {clRed, BrushStyle::Solid, clRed},
        {clBtnFace, BrushStyle::Solid, clBtnFace},
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        canvas.SetBrushColor(clNone);
        canvas.SetBrushColor(c.color);
        EXPECT_EQ(canvas.CurrentBrush().Style, c.style) << std::hex << c.color;
        EXPECT_EQ(canvas.BrushColor(), c.color);
        EXPECT_EQ(canvas.TextBackground(), c.background);
    }
}

TEST(CanvasTest, ClipIntersectsAndScopeRestores) {
    FakeCanvas canvas;
    {
        ClipScope scope(canvas);
        canvas.IntersectClipRect({0, 0, 100, 100});
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 100, 100}));
        {
            ClipScope inner(canvas);
            canvas.IntersectClipRect({50, -10, 200, 20});
            EXPECT_EQ(canvas.ClipRect(), (Rect{50, 0, 100, 20}));
            canvas.IntersectClipRect({0, 50, 10, 60});
            EXPECT_EQ(canvas.ClipRect(), (Rect{})); // clipped away entirely, not unclipped
        }
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 100, 100}));
    }
    EXPECT_FALSE(canvas.ClipRect().has_value());
}

TEST(CanvasTest, DefaultPolylineDrawsSegmentsAndKeepsThePenPosition) {
    FakeCanvas canvas;
    canvas.MoveTo(-3, -3);
    const std::array<Point, 3> points{Point{0, 10}, Point{0, 0}, Point{10, 0}};
    canvas.Canvas::Polyline(points);
    const auto lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points, (std::vector<Point>{{0, 10}, {0, 0}}));
    EXPECT_EQ(lines[1].Points, (std::vector<Point>{{0, 0}, {10, 0}}));
    EXPECT_EQ(canvas.PenPos(), (Point{-3, -3}));
}

TEST(CanvasTest, DefaultScrollArrowPointsItsWayAndRestoresPenAndBrush) {
    struct Case {
        ScrollArrow arrow;
        std::int32_t narrowRowY; // the row holding the arrow's tip
    };
    const Case cases[] = {{ScrollArrow::Up, 3}, {ScrollArrow::Down, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrow == ScrollArrow::Up ? "up" : "down");
        FakeCanvas canvas;
        canvas.SetBrushColor(clNone);
        canvas.SetPen({clRed, 3, PenStyle::Solid});
        canvas.Canvas::DrawScrollArrow({0, 0, 10, 10}, c.arrow);
        EXPECT_EQ(canvas.RecordsOf(DrawKind::Rectangle).size(), 1u);
        const auto rows = canvas.RecordsOf(DrawKind::Line);
        EXPECT_EQ(rows.size(), 3u);
        if (rows.size() != 3u) {
            continue;
        }
        const auto tip = std::min_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.Area.Width() < b.Area.Width();
        });
        EXPECT_EQ(tip->Area, (Rect{5, c.narrowRowY, 6, c.narrowRowY + 1}));
        EXPECT_EQ(canvas.CurrentPen(), (Pen{clRed, 3, PenStyle::Solid}));
        EXPECT_EQ(canvas.CurrentBrush().Style, BrushStyle::Clear);
    }
}

} // namespace
} // namespace velmora
