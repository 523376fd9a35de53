#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "markup/RenderMarkup.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

using testing::InkBounds;
using testing::InkCount;

// RenderMarkup on a real canvas, checked as a person would look at the picture.
class RenderOnQt : public testing::QtTest {
protected:
    QImage Render(const std::string& markup, int width, int height, bool wordWrap = true) {
        QImage image = testing::WhiteImage(width, height);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        FontState font;
        font.Name = "Arial";
        font.Size = 12;
        font.Color = clBlack;
        canvas.SetFont(font);
        canvas.SetBrushColor(clWhite);
        RenderMarkupParams params;
        params.canvas = &canvas;
        params.markup = markup;
        params.bounds = {0, 0, width, height};
        params.urlColor = clRed;
        params.wordWrap = wordWrap;
        RenderMarkup(params);
        painter.end();
        return image;
    }
};

TEST_F(RenderOnQt, AnchorsAreRedAndUnderlined) {
    const QImage image = Render("plain <A href=\"u\">linked words</A>", 240, 30);
    const QColor red(255, 0, 0);
    const Rect link = InkBounds(image, Qt::white, {0, 0, 240, 30});
    ASSERT_FALSE(link.IsEmpty());
    const Rect redInk = [&] {
        Rect r{1000, 1000, -1, -1};
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == red) {
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                         std::max(r.Bottom, y + 1)};
                }
            }
        }
        return r;
    }();
    ASSERT_GT(redInk.Width(), 40) << "the link's words are drawn in the URL colour";
    EXPECT_GT(redInk.Left, 20) << "the plain word before it is not";
    // The underline: one row that is red from the link's first pixel to its last.
    int fullRows = 0;
    for (int y = redInk.Top; y < redInk.Bottom; ++y) {
        int run = 0;
        for (int x = redInk.Left; x < redInk.Right; ++x) {
            run += image.pixelColor(x, y) == red ? 1 : 0;
        }
        fullRows += run >= redInk.Width() - 1 ? 1 : 0;
    }
    EXPECT_GE(fullRows, 1);
}

TEST_F(RenderOnQt, TextWithoutWrapEndsInAnEllipsisInsideTheBounds) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz";
    const QImage cut = Render(text, 120, 30, false);
    const Rect ink = InkBounds(cut);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, 120);
    // The last few pixels hold the dots: low marks on the baseline, not letters.
    const Rect dots = InkBounds(cut, Qt::white, {ink.Right - 4, 0, ink.Right, 30});
    EXPECT_LE(dots.Height(), 3);
    EXPECT_GE(dots.Top, ink.Top + 5);

    const QImage wrapped = Render(text, 120, 60, true);
    EXPECT_GT(InkBounds(wrapped).Bottom, ink.Bottom + 5) << "with wrapping the text takes a second line";
}

TEST_F(RenderOnQt, RotatedRunsStandUp) {
    // Turned about its top-left corner, the run needs room above it: it starts on the eighth line.
    const std::string above = "<BR><BR><BR><BR><BR><BR><BR>";
    const QImage flat = Render(above + "rotated", 200, 200);
    const QImage turned = Render(above + "<R a=\"90\">rotated</R>", 200, 200);
    const Rect flatInk = InkBounds(flat);
    const Rect turnedInk = InkBounds(turned);
    ASSERT_FALSE(flatInk.IsEmpty());
    ASSERT_FALSE(turnedInk.IsEmpty());
    EXPECT_GT(flatInk.Width(), flatInk.Height() * 3);
    EXPECT_GT(turnedInk.Height(), turnedInk.Width() * 3);
    EXPECT_NEAR(turnedInk.Height(), flatInk.Width(), 3);
}

TEST_F(RenderOnQt, HiddenAndBlinkingTextLeaveNoInk) {
    EXPECT_EQ(InkCount(Render("<Z>hidden</Z>", 200, 30)), 0);
    const QImage blinking = [this] {
        QImage image = testing::WhiteImage(200, 30);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        canvas.SetBrushColor(clWhite);
        RenderMarkupParams params;
        params.canvas = &canvas;
        params.markup = "<BLINK>blinking</BLINK>";
        params.bounds = {0, 0, 200, 30};
        params.blinkVisible = false;
        RenderMarkup(params);
        painter.end();
        return image;
    }();
    EXPECT_EQ(InkCount(blinking), 0);
}

} // namespace
} // namespace velmora
