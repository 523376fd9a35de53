#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "markup/RenderMarkup.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

using testkit::InkBounds;
using testkit::InkCount;

// RenderMarkup on a real canvas, checked as a person would look at the picture.
class RenderOnQt : public testkit::QtTest {
protected:
    QImage Render(const std::string& markup, int width, int height, bool wordWrap = true) {
        QImage image = testkit::WhiteImage(width, height);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        canvas.SetFont({"Arial", 12, clBlack});
        canvas.SetBrushColor(clWhite);
        MarkupCall params(canvas);
        params.Request.Markup = markup;
        params.Request.Bounds = {0, 0, width, height};
        params.Request.UrlColor = clRed;
        params.Request.WordWrap = wordWrap;
        params.Request.BlinkVisible = false;
        params.Run();
        painter.end();
        return image;
    }
};

TEST_F(RenderOnQt, AnchorsAreRedAndUnderlined) {
    const QImage image = Render("plain <A href=\"u\">linked words</A>", 240, 30);
    Rect red{1000, 1000, -1, -1};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == Qt::red) {
                red = {std::min(red.Left, x), std::min(red.Top, y), std::max(red.Right, x + 1),
                       std::max(red.Bottom, y + 1)};
            }
        }
    }
    ASSERT_GT(red.Width(), 40) << "the link is drawn in the URL colour";
    EXPECT_GT(red.Left, 20) << "the plain word before it is not";
    bool underlined = false;
    for (int y = red.Top; y < red.Bottom && !underlined; ++y) {
        int count = 0;
        for (int x = red.Left; x < red.Right; ++x) {
            count += image.pixelColor(x, y) == Qt::red ? 1 : 0;
        }
        underlined = count >= red.Width() - 1;
    }
    EXPECT_TRUE(underlined) << "one row is red from the link's first pixel to its last";
}

TEST_F(RenderOnQt, TextWithoutWrapEndsInAnEllipsisInsideTheBounds) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz";
    const Rect ink = InkBounds(Render(text, 120, 30, false));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, 120);
    // The last pixels hold dots: low marks on the baseline, not letters.
    const Rect dots = InkBounds(Render(text, 120, 30, false), Qt::white, {ink.Right - 4, 0, ink.Right, 30});
    EXPECT_LE(dots.Height(), 3);
    EXPECT_GE(dots.Top, ink.Top + 5);
    EXPECT_GT(InkBounds(Render(text, 120, 60)).Bottom, ink.Bottom + 5) << "wrapped, it takes a second line";
}

TEST_F(RenderOnQt, RotatedRunsStandUp) {
    // Turned about its top-left corner, the run needs room above it: it starts on the eighth line.
    const std::string above = "<BR><BR><BR><BR><BR><BR><BR>";
    const Rect flat = InkBounds(Render(above + "rotated", 200, 200));
    const Rect turned = InkBounds(Render(above + "<R a=\"90\">rotated</R>", 200, 200));
    EXPECT_GT(flat.Width(), flat.Height() * 3);
    EXPECT_GT(turned.Height(), turned.Width() * 3);
    EXPECT_NEAR(turned.Height(), flat.Width(), 3);
}

TEST_F(RenderOnQt, HiddenAndBlinkingTextLeaveNoInk) {
    EXPECT_EQ(InkCount(Render("<Z>hidden</Z><BLINK>blinking</BLINK>", 200, 30)), 0);
    EXPECT_GT(InkCount(Render("<Z>hidden</Z>shown", 200, 30)), 0);
}

} // namespace
} // namespace velmora
