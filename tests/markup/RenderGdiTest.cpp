// RenderMarkup on GdiCanvas, checked as a person would look at the picture.
#include "graphics/win32/GdiCanvas.h"
#include "graphics/win32/testing/GdiSurface.h"
#include "markup/RenderMarkup.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace velmora {
namespace {

using testkit::GdiSurface;

struct Drawn {
    std::unique_ptr<GdiSurface> surface;
    MarkupResult result;
};

Drawn Render(const std::string& markup, int width, int height, bool wordWrap = true, int focusAnchor = -1) {
    Drawn drawn{std::make_unique<GdiSurface>(width, height), {}};
    GdiCanvas canvas(drawn.surface->Dc());
    canvas.SetFont({testkit::TestFontFamily(), 12, clBlack});
    canvas.SetBrushColor(clWhite);
    MarkupSources sources;
    MarkupRequest request;
    request.Markup = markup;
    request.Bounds = {0, 0, width, height};
    request.UrlColor = clRed;
    request.WordWrap = wordWrap;
    request.BlinkVisible = false;
    request.FocusAnchor = focusAnchor;
    RenderMarkup(canvas, sources, request, drawn.result);
    return drawn;
}

TEST(RenderOnGdi, AnchorsAreRedAndUnderlined) {
    const Drawn drawn = Render("plain <A href=\"u\">linked words</A>", 240, 30);
    const GdiSurface& surface = *drawn.surface;
    const Rect red = surface.ColorBounds(clRed);
    ASSERT_GT(red.Width(), 40) << "the link is drawn in the URL colour";
    EXPECT_GT(red.Left, 20) << "the plain word before it is not";
    bool underlined = false;
    for (int y = red.Top; y < red.Bottom && !underlined; ++y) {
        underlined = surface.CountColor(clRed, {red.Left, y, red.Right, y + 1}) >= red.Width() - 1;
    }
    EXPECT_TRUE(underlined) << "one row is red from the link's first pixel to its last";
    EXPECT_EQ(drawn.result.AnchorCount, 1);
}

TEST(RenderOnGdi, FocusedAnchorIsFramed) {
    const std::string markup = "plain <A href=\"u\">linked</A> after";
    const Drawn plain = Render(markup, 240, 30);
    const Drawn focused = Render(markup, 240, 30, true, 0);
    EXPECT_EQ(focused.result.FocusHref, "u");
    // The frame adds dark dots around the link and nowhere near the plain words.
    const Rect link = plain.surface->ColorBounds(clRed);
    const int added = focused.surface->CountColor(clBlack) - plain.surface->CountColor(clBlack);
    EXPECT_GT(added, link.Width()) << "dots above and below the link";
    const Rect before{0, 0, link.Left - 3, 30};
    EXPECT_EQ(focused.surface->CountColor(clBlack, before), plain.surface->CountColor(clBlack, before));
}

TEST(RenderOnGdi, TextWithoutWrapEndsInAnEllipsisInsideTheBounds) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz";
    const Drawn cut = Render(text, 120, 30, false);
    const Rect ink = cut.surface->InkBounds();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, 120);
    // The last pixels hold dots: low marks on the baseline, not letters.
    const Rect dots = cut.surface->InkBounds(clWhite, {ink.Right - 4, 0, ink.Right, 30});
    EXPECT_LE(dots.Height(), 3);
    EXPECT_GE(dots.Top, ink.Top + 5);
    EXPECT_GT(Render(text, 120, 60).surface->InkBounds().Bottom, ink.Bottom + 5)
        << "wrapped, it takes a second line";
}

TEST(RenderOnGdi, RotatedRunsStandUp) {
    // Turned about its top-left corner, the run needs room above it: it starts on the eighth line.
    const std::string above = "<BR><BR><BR><BR><BR><BR><BR>";
    const Rect flat = Render(above + "rotated", 200, 200).surface->InkBounds();
    const Rect turned = Render(above + "<R a=\"90\">rotated</R>", 200, 200).surface->InkBounds();
    EXPECT_GT(flat.Width(), flat.Height() * 3);
    EXPECT_GT(turned.Height(), turned.Width() * 3);
    EXPECT_NEAR(turned.Height(), flat.Width(), 3);
}

TEST(RenderOnGdi, HiddenAndBlinkingTextLeaveNoInk) {
    EXPECT_EQ(Render("<Z>hidden</Z><BLINK>blinking</BLINK>", 200, 30).surface->InkCount(), 0);
    EXPECT_GT(Render("<Z>hidden</Z>shown", 200, 30).surface->InkCount(), 0);
}

} // namespace
} // namespace velmora
