#include "DrawingRoutinesTest.h"

#include "ControlTestSupport.h"
#include "controls/core/BevelFrame.h"
#include "controls/core/Gradient.h"
#include "controls/core/MarkupGeometry.h"
#include "graphics/testing/FakeCanvas.h"

#include <QtTest>
#include <vector>

Q_DECLARE_METATYPE(velmora::Rect)
Q_DECLARE_METATYPE(velmora::TBevelCut)
Q_DECLARE_METATYPE(velmora::TBorderStyle)
Q_DECLARE_METATYPE(velmora::TVAlignment)
Q_DECLARE_METATYPE(velmora::TAlign)
Q_DECLARE_METATYPE(velmora::TAutoSizeType)
Q_DECLARE_METATYPE(std::vector<velmora::Point>)

namespace velmora {

using testkit::DrawKind;
using testkit::FakeCanvas;

namespace {

constexpr std::int32_t kMax = 2147483647;

} // namespace

void DrawingRoutinesTest::init() {
    testkit::FailOnQtWarnings();
}

void DrawingRoutinesTest::gradientBands_data() {
    QTest::addColumn<TColor>("from");
    QTest::addColumn<TColor>("to");
    QTest::addColumn<int>("steps");
    QTest::addColumn<Rect>("rect");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("bands");
    QTest::addColumn<Rect>("first");
    QTest::addColumn<Rect>("last");
    QTest::addColumn<TColor>("lastColor");

    // A label three pixels wide asks for 0 steps, which counts as one.
    QTest::newRow("no steps is one band") << clBlack << clWhite << 0 << Rect{0, 0, 3, 10} << true << 1
                                          << Rect{0, 0, 3, 10} << Rect{0, 0, 3, 10} << clBlack;
    // 25 / 10 = 2.5 per band; band 9 starts at Round(22.5) = 22 and its colour is Round(229.5) = 230.
    QTest::newRow("vertical bands overlap by one pixel")
        << clBlack << clWhite << 10 << Rect{0, 0, 40, 25} << false << 10 << Rect{0, 0, 40, 3}
        << Rect{0, 22, 40, 25} << RGBColor(230, 230, 230);
    QTest::newRow("more steps than pixels")
        << clBlack << RGBColor(0, 0, 255) << 8 << Rect{0, 0, 4, 2} << true << 8 << Rect{0, 0, 1, 2}
        << Rect{4, 0, 4, 2} << RGBColor(0, 0, 223);
    QTest::newRow("halves round to even") << clBlack << RGBColor(5, 0, 0) << 2 << Rect{0, 0, 5, 1} << true
                                          << 2 << Rect{0, 0, 3, 1} << Rect{2, 0, 5, 1} << RGBColor(2, 0, 0);
    QTest::newRow("no colour runs towards white")
        << clBlack << clNone << 2 << Rect{10, 5, 14, 7} << true << 2 << Rect{10, 5, 13, 7}
        << Rect{12, 5, 14, 7} << RGBColor(128, 128, 128);
    QTest::newRow("offset rectangle")
        << RGBColor(100, 0, 0) << RGBColor(0, 100, 0) << 4 << Rect{8, 2, 16, 6} << true << 4
        << Rect{8, 2, 11, 6} << Rect{14, 2, 16, 6} << RGBColor(25, 75, 0);
}

void DrawingRoutinesTest::gradientBands() {
    QFETCH(TColor, from);
    QFETCH(TColor, to);
    QFETCH(int, steps);
    QFETCH(Rect, rect);
    QFETCH(bool, horizontal);
    QFETCH(int, bands);
    QFETCH(Rect, first);
    QFETCH(Rect, last);
    QFETCH(TColor, lastColor);

    FakeCanvas canvas;
    DrawGradient(canvas, from, to, steps, rect, horizontal);
    const auto drawn = canvas.RecordsOf(DrawKind::Rectangle);
    QCOMPARE(static_cast<int>(drawn.size()), bands);
    QCOMPARE(drawn.front().Area, first);
    QCOMPARE(drawn.front().BrushState.Color, ColorToRGB(from) & 0xFFFFFF);
    QCOMPARE(drawn.back().Area, last);
    QCOMPARE(drawn.back().BrushState.Color, lastColor);
    QCOMPARE(drawn.back().PenState.Color, lastColor);
}

// Fourteen bands from black: band 7 lies exactly half way to a red of d / 2, which a step added seven
// times misses by a hair in either direction.
void DrawingRoutinesTest::gradientHalves_data() {
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("bandSevenRed");
    QTest::newRow("14.5 rounds down") << 29 << 14;
    QTest::newRow("57.5 rounds up") << 115 << 58;
    QTest::newRow("112.5 rounds down") << 225 << 112;
    QTest::newRow("125.5 rounds up") << 251 << 126;
    QTest::newRow("126.5 rounds down") << 253 << 126;
}

void DrawingRoutinesTest::gradientHalves() {
    QFETCH(int, red);
    QFETCH(int, bandSevenRed);

    FakeCanvas canvas;
    DrawGradient(canvas, clBlack, RGBColor(static_cast<std::uint8_t>(red), 0, 0), 14, {0, 0, 14, 1}, true);
    const auto drawn = canvas.RecordsOf(DrawKind::Rectangle);
    QCOMPARE(static_cast<int>(drawn.size()), 14);
    QCOMPARE(drawn[7].BrushState.Color, RGBColor(static_cast<std::uint8_t>(bandSevenRed), 0, 0));
}

void DrawingRoutinesTest::bevelColors_data() {
    QTest::addColumn<TBevelCut>("cut");
    QTest::addColumn<TColor>("topLeft");
    QTest::addColumn<TColor>("bottomRight");
    QTest::newRow("lowered") << bvLowered << clBtnShadow << clBtnHighlight;
    QTest::newRow("raised") << bvRaised << clBtnHighlight << clBtnShadow;
    QTest::newRow("space") << bvSpace << clBtnHighlight << clBtnShadow;
}

void DrawingRoutinesTest::bevelColors() {
    QFETCH(TBevelCut, cut);
    QFETCH(TColor, topLeft);
    QFETCH(TColor, bottomRight);
    QCOMPARE(BevelColors(cut), (BevelPair{topLeft, bottomRight}));
}

void DrawingRoutinesTest::bevelFrames_data() {
    QTest::addColumn<Rect>("rect");
    QTest::addColumn<int>("width");
    QTest::addColumn<std::vector<Point>>("firstTopLeft");
    QTest::addColumn<std::vector<Point>>("lastBottomRight");
    QTest::addColumn<int>("polylines");
    QTest::addColumn<Rect>("after");

    QTest::newRow("width 0 draws nothing")
        << Rect{0, 0, 10, 8} << 0 << std::vector<Point>{} << std::vector<Point>{} << 0 << Rect{0, 0, 10, 8};
    QTest::newRow("one frame") << Rect{0, 0, 10, 8} << 1 << std::vector<Point>{{0, 7}, {0, 0}, {9, 0}}
                               << std::vector<Point>{{9, 0}, {9, 7}, {-1, 7}} << 2 << Rect{1, 1, 9, 7};
    QTest::newRow("two nested frames")
        << Rect{2, 3, 12, 11} << 2 << std::vector<Point>{{2, 10}, {2, 3}, {11, 3}}
        << std::vector<Point>{{10, 4}, {10, 9}, {2, 9}} << 4 << Rect{4, 5, 10, 9};
    // Frames stop once the rectangle is used up; the width still shrinks it, without overflowing.
    QTest::newRow("border far wider than the control")
        << Rect{0, 0, 4, 4} << kMax << std::vector<Point>{{0, 3}, {0, 0}, {3, 0}}
        << std::vector<Point>{{2, 1}, {2, 2}, {0, 2}} << 4 << Rect{kMax, kMax, 4 - kMax, 4 - kMax};
}

void DrawingRoutinesTest::bevelFrames() {
    QFETCH(Rect, rect);
    QFETCH(int, width);
    QFETCH(std::vector<Point>, firstTopLeft);
    QFETCH(std::vector<Point>, lastBottomRight);
    QFETCH(int, polylines);
    QFETCH(Rect, after);

    FakeCanvas canvas;
    canvas.SetPenWidth(3);
    const TColor light = RGBColor(1, 2, 3);
    const TColor dark = RGBColor(4, 5, 6);
    DrawBevelFrame(canvas, rect, light, dark, width);
    QCOMPARE(rect, after);
    const auto drawn = canvas.RecordsOf(DrawKind::Polyline);
    QCOMPARE(static_cast<int>(drawn.size()), polylines);
    if (polylines == 0) {
        return;
    }
    QCOMPARE(drawn.front().Points, firstTopLeft);
    QCOMPARE(drawn.front().PenState.Color, light);
    QCOMPARE(drawn.front().PenState.Width, 1);
    QCOMPARE(drawn.back().Points, lastBottomRight);
    QCOMPARE(drawn.back().PenState.Color, dark);
}

void DrawingRoutinesTest::textArea_data() {
    QTest::addColumn<TBevelCut>("inner");
    QTest::addColumn<TBevelCut>("outer");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<TBorderStyle>("border");
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<Rect>("area");

    const Rect client{0, 0, 100, 40};
    QTest::newRow("no frames") << bvNone << bvNone << 3 << bsSingle << 0 << client;
    QTest::newRow("outer bevel") << bvNone << bvRaised << 3 << bsNone << 5 << Rect{3, 3, 97, 37};
    QTest::newRow("two bevels count once") << bvLowered << bvRaised << 2 << bsNone << 0 << Rect{2, 2, 98, 38};
    QTest::newRow("border only when single") << bvNone << bvNone << 1 << bsDialog << 4 << client;
    QTest::newRow("bevel and single border") << bvSpace << bvNone << 2 << bsSingle << 4 << Rect{6, 6, 94, 34};
    QTest::newRow("huge border saturates")
        << bvNone << bvNone << 1 << bsSingle << kMax << Rect{kMax, kMax, 100 - kMax, 40 - kMax};
}

void DrawingRoutinesTest::textArea() {
    QFETCH(TBevelCut, inner);
    QFETCH(TBevelCut, outer);
    QFETCH(int, bevelWidth);
    QFETCH(TBorderStyle, border);
    QFETCH(int, borderWidth);
    QFETCH(Rect, area);
    const FrameSettings frames{inner, outer, bevelWidth, border, borderWidth};
    QCOMPARE(TextArea({0, 0, 100, 40}, frames), area);
}

void DrawingRoutinesTest::verticalAlignment_data() {
    QTest::addColumn<TVAlignment>("alignment");
    QTest::addColumn<Rect>("bounds");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("controlHeight");
    QTest::addColumn<int>("top");

    QTest::newRow("top stays") << tvaTop << Rect{0, 0, 50, 30} << 10 << 30 << 0;
    QTest::newRow("centre") << tvaCenter << Rect{0, 0, 50, 30} << 10 << 30 << 10;
    QTest::newRow("centre truncates") << tvaCenter << Rect{0, 2, 50, 30} << 9 << 30 << 11;
    QTest::newRow("bottom") << tvaBottom << Rect{0, 0, 50, 30} << 10 << 30 << 20;
    QTest::newRow("as high as the control") << tvaBottom << Rect{0, 0, 50, 30} << 30 << 30 << 0;
    // The text area is smaller than the control: the text moves up into the frame.
    QTest::newRow("centre moves up") << tvaCenter << Rect{4, 4, 46, 16} << 17 << 20 << 2;
}

void DrawingRoutinesTest::verticalAlignment() {
    QFETCH(TVAlignment, alignment);
    QFETCH(Rect, bounds);
    QFETCH(int, textHeight);
    QFETCH(int, controlHeight);
    QFETCH(int, top);
    Rect aligned = bounds;
    ApplyVAlignment(alignment, aligned, textHeight, controlHeight);
    QCOMPARE(aligned.Top, top);
    QCOMPARE(aligned.Bottom, bounds.Bottom);
}

void DrawingRoutinesTest::autoSizeRules_data() {
    QTest::addColumn<bool>("autoSizing");
    QTest::addColumn<TAlign>("align");
    QTest::addColumn<TAutoSizeType>("type");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<Rect>("extended");

    const Rect grownDown{0, 0, 10, 65545};
    const Rect grownRight{0, 0, 65545, 10};
    const Rect both{0, 0, 65545, 65545};
    const Rect same{0, 0, 10, 10};
    QTest::newRow("off") << false << alNone << asBoth << false << false << same;
    QTest::newRow("free, vertical") << true << alNone << asVertical << true << false << grownDown;
    QTest::newRow("free, both") << true << alNone << asBoth << true << true << both;
    QTest::newRow("top, both") << true << alTop << asBoth << true << false << grownDown;
    QTest::newRow("bottom, horizontal") << true << alBottom << asHorizontal << false << false << same;
    QTest::newRow("left, both") << true << alLeft << asBoth << false << true << grownRight;
    QTest::newRow("right, vertical") << true << alRight << asVertical << false << false << same;
    QTest::newRow("client") << true << alClient << asBoth << false << false << same;
    QTest::newRow("custom") << true << alCustom << asBoth << false << false << same;
}

void DrawingRoutinesTest::autoSizeRules() {
    QFETCH(bool, autoSizing);
    QFETCH(TAlign, align);
    QFETCH(TAutoSizeType, type);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);
    QFETCH(Rect, extended);
    const AutoSizeRules rules = AutoSizeRulesFor(autoSizing, align, type);
    QCOMPARE(rules.Vertical, vertical);
    QCOMPARE(rules.Horizontal, horizontal);
    QCOMPARE(ExtendForAutoSize({0, 0, 10, 10}, rules), extended);
}

void DrawingRoutinesTest::shellTargets_data() {
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<bool>("shell");
    QTest::newRow("web address") << "http://example.org" << true;
    QTest::newRow("scheme after other text") << "see ftp://example.org" << true;
    QTest::newRow("mail link") << "mailto:someone@example.org" << true;
    QTest::newRow("mail prefix inside") << "xmailto:a" << true;
    QTest::newRow("mail prefix in capitals") << "MAILTO:someone@example.org" << false;
    QTest::newRow("page name") << "page2" << false;
    QTest::newRow("colon and one slash") << "http:/example.org" << false;
    QTest::newRow("empty") << "" << false;
}

void DrawingRoutinesTest::shellTargets() {
    QFETCH(QString, anchor);
    QFETCH(bool, shell);
    QCOMPARE(IsShellTarget(anchor.toStdString()), shell);
}

} // namespace velmora
