#include "controls/core/ControlPainting.h"

#include "controls/core/MarkupSettings.h"
#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::FakeCanvas;

TEST(ControlPaintingTest, LabelBackgroundsFillAndDrawTheirLines) {
    const Rect client{0, 0, 40, 20};
    const struct {
        TGradientType Type;
        TColor ColorTo;
        bool Transparent;
        std::size_t Fills;        // the plain fill
        std::int32_t BandsTop;    // where the gradient's bands start; -1 for none
        std::int32_t BandsBottom; // and end
    } cases[] = {
        {gtFullHorizontal, clNone, false, 1, -1, -1}, {gtFullHorizontal, clRed, false, 0, 0, 20},
        {gtFullVertical, clRed, true, 0, -1, -1},     {gtBottomLine, clRed, false, 1, 18, 20},
        {gtCenterLine, clRed, false, 1, 10, 12},      {gtTopLine, clRed, true, 0, 0, 2},
    };
    for (const auto& c : cases) {
        FakeCanvas canvas;
        PaintLabelBackground(canvas, client, {clWhite, c.ColorTo, c.Type, c.Transparent});
        std::size_t fills = 0;
        std::size_t bands = 0;
        for (const auto& drawn : canvas.RecordsOf(DrawKind::Rectangle)) {
            if (drawn.Area == client) {
                ++fills;
                continue;
            }
            ++bands;
            EXPECT_EQ(drawn.Area.Top, c.BandsTop) << c.Type;
            EXPECT_EQ(drawn.Area.Bottom, c.BandsBottom) << c.Type;
        }
        EXPECT_EQ(fills, c.Fills) << c.Type;
        EXPECT_EQ(bands > 0, c.BandsTop >= 0) << c.Type;
    }
}

TEST(ControlPaintingTest, ScrollArrowsShowWhereThereIsMoreText) {
    const Rect area{0, 0, 100, 40};
    const struct {
        std::int32_t TextHeight;
        std::int32_t Offset;
        bool Up;
        bool Down;
    } cases[] = {
        {30, 0, false, false}, {40, 0, false, true},  {80, 0, false, true},
        {80, 40, true, true},  {80, 41, true, false}, {10, 4, true, false},
    };
    for (const auto& c : cases) {
        FakeCanvas canvas;
        const ScrollArrowsShown shown = DrawScrollArrows(canvas, area, c.TextHeight, 40, c.Offset);
        EXPECT_EQ(shown.Up, c.Up) << c.TextHeight << " " << c.Offset;
        EXPECT_EQ(shown.Down, c.Down) << c.TextHeight << " " << c.Offset;
        const auto arrows = canvas.RecordsOf(DrawKind::ScrollArrow);
        ASSERT_EQ(arrows.size(), (c.Up ? 1u : 0u) + (c.Down ? 1u : 0u));
        for (const auto& arrow : arrows) {
            const bool down = arrow.Arrow == ScrollArrow::Down;
            EXPECT_EQ(arrow.Area, down ? (Rect{90, 30, 100, 40}) : (Rect{90, 0, 100, 10}));
        }
    }
}

TEST(ControlPaintingTest, BevelsAndBorderLeaveTheTextArea) {
    const struct {
        FrameSettings Frames;
        Rect Inside;
        std::size_t Borders;
    } cases[] = {
        {{}, {0, 0, 50, 30}, 0},
        {{bvLowered, bvRaised, 2, bsNone, 0}, {4, 4, 46, 26}, 0},
        {{bvNone, bvNone, 1, bsSingle, 3}, {3, 3, 47, 27}, 1},
        {{bvRaised, bvNone, 1, bsSingle, 0}, {1, 1, 49, 29}, 0},
    };
    for (const auto& c : cases) {
        FakeCanvas canvas;
        const Rect inside = DrawBevels(canvas, {0, 0, 50, 30}, c.Frames, clWhite);
        EXPECT_EQ(inside, c.Inside);
        DrawSingleBorder(canvas, inside, c.Frames);
        const auto borders = canvas.RecordsOf(DrawKind::Rectangle);
        ASSERT_EQ(borders.size(), c.Borders);
        if (c.Borders == 1) {
            EXPECT_EQ(borders[0].PenState.Color, clBlack);
            EXPECT_EQ(borders[0].PenState.Width, c.Frames.BorderWidth);
        }
    }
}

TEST(ControlPaintingTest, HitRequestsKeepTheLayoutAndDropTheHover) {
    MarkupSettings settings;
    settings.Hover = true;
    settings.URLColor = clRed;
    settings.ShadowOffset = 3;
    AnchorHover hovering;
    hovering.Anchor = 2;
    MarkupRequest request = RequestFor(settings, hovering, {1, 2, 3, 4}, {7, 8}, 1);
    EXPECT_EQ(request.HoverAnchor, 2);
    EXPECT_EQ(request.FocusAnchor, 1);
    EXPECT_EQ(request.UrlColor, clRed);
    EXPECT_EQ(request.HitX, 7);
    MakeHitRequest(request);
    EXPECT_TRUE(request.NoDraw);
    EXPECT_EQ(request.HoverAnchor, -1);
    EXPECT_EQ(request.FocusAnchor, -1);
    EXPECT_FALSE(request.BlinkVisible);
    EXPECT_EQ(request.ShadowOffset, 3) << "the shadow moves the text, so it stays";
    EXPECT_EQ(request.Bounds, (Rect{1, 2, 3, 4}));
}

} // namespace
} // namespace velmora
