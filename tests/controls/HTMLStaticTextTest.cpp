#include "HTMLStaticTextTest.h"

#include "ControlTestSupport.h"
#include "controls/HTMLText.h"
#include "graphics/ImageList.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <QCursor>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <sstream>

Q_DECLARE_METATYPE(std::function<void(velmora::THTMLStaticText&)>)
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(velmora::TVAlignment)

namespace velmora {

using TextSetup = std::function<void(THTMLStaticText&)>;
using testkit::ColorRuns;
using testkit::Snapshot;
using testkit::ToColor;

namespace {

const QColor kUrlBlue(0, 0, 255);
const std::string kThreeAnchors =
    "<A href=\"one\">XXXX</A>&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"mailto:two@example.org\">XXXX</A>"
    "&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"three\">XXXX</A>";

std::string Lines(int count) {
    std::string markup;
    for (int i = 0; i < count; ++i) {
        markup += "line " + std::to_string(i) + "<BR>";
    }
    return markup;
}

void Press(QWidget& widget, Qt::Key key) {
    QTest::keyClick(&widget, key);
}

bool HasHandCursor(const QWidget& widget) {
    return widget.testAttribute(Qt::WA_SetCursor) && widget.cursor().shape() == Qt::PointingHandCursor;
}

// Pixels that are neither the background nor white: the drawn text.
int TextInk(const QImage& image, QColor background) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ink += pixel != background && pixel.lightness() < 100 ? 1 : 0;
        }
    }
    return ink;
}

THTMLPicture& AnimatedPicture(THTMLPicture& picture) {
    const std::vector<std::uint8_t> gif = testkit::MakeGif(
        4, 4,
        {{.ColorIndex = 0, .Delay = 10}, {.ColorIndex = 1, .Delay = 20}, {.ColorIndex = 2, .Delay = 10}});
    std::istringstream stream(std::string(gif.begin(), gif.end()));
    picture.LoadStream(&stream);
    return picture;
}

} // namespace

HTMLStaticTextTest::HTMLStaticTextTest() = default;
HTMLStaticTextTest::~HTMLStaticTextTest() = default;

void HTMLStaticTextTest::init() {
    testkit::FailOnQtWarnings();
    timers_ = std::make_unique<testkit::ManualTimers>();
    host_ = testkit::ShownHost(360, 260);
    QVERIFY(testkit::WaitExposed(*host_));
    testkit::ParkMouse(*host_);
}

void HTMLStaticTextTest::cleanup() {
    delete host_;
    text_ = nullptr;
    timers_.reset();
}

THTMLStaticText& HTMLStaticTextTest::MakeText(int width, int height) {
    text_ = new THTMLStaticText(host_);
    text_->move(10, 10);
    text_->resize(width, height);
    text_->show();
    return *text_;
}

void HTMLStaticTextTest::creationValues_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("URLColor") << "URLColor" << QVariant(clBlue);
    QTest::newRow("ShadowColor") << "ShadowColor" << QVariant(clGray);
    QTest::newRow("ShadowOffset") << "ShadowOffset" << QVariant(1);
    QTest::newRow("Hover") << "Hover" << QVariant(false);
    QTest::newRow("HoverColor") << "HoverColor" << QVariant(clNone);
    QTest::newRow("HoverFontColor") << "HoverFontColor" << QVariant(clNone);
    QTest::newRow("BevelInner") << "BevelInner" << QVariant::fromValue(bvNone);
    QTest::newRow("BevelWidth") << "BevelWidth" << QVariant(1);
    QTest::newRow("BorderWidth") << "BorderWidth" << QVariant(0);
    QTest::newRow("BorderStyle") << "BorderStyle" << QVariant::fromValue(bsNone);
    QTest::newRow("VAlignment") << "VAlignment" << QVariant::fromValue(tvaTop);
    QTest::newRow("MiniScroll") << "MiniScroll" << QVariant(false);
    QTest::newRow("AutoScroll") << "AutoScroll" << QVariant(false);
    QTest::newRow("EnableBlink") << "EnableBlink" << QVariant(false);
    QTest::newRow("Ellipsis") << "Ellipsis" << QVariant(false);
    QTest::newRow("AutoSizing") << "AutoSizing" << QVariant(false);
    QTest::newRow("AutoSizeType") << "AutoSizeType" << QVariant::fromValue(asVertical);
    QTest::newRow("AnchorHint") << "AnchorHint" << QVariant(false);
    QTest::newRow("TabStop") << "TabStop" << QVariant(false);
    QTest::newRow("HTMLText") << "HTMLText" << QVariant(QStringList());
}

void HTMLStaticTextTest::creationValues() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    THTMLStaticText control(host_);
    const QVariant actual = control.property(name.toLatin1().constData());
    QVERIFY2(actual.isValid(), "no such property");
    QCOMPARE(actual, value);
    QCOMPARE(control.size(), QSize(100, 20));
    QCOMPARE(control.FocusAnchor(), -1);
    QCOMPARE(control.AnchorCount(), 0);
    QCOMPARE(control.TimerId(), 0);
    QCOMPARE(control.TickCount(), 0);
    QVERIFY(control.BlinkPhase());
    QCOMPARE(control.ScrollOffset(), 0);
    QVERIFY(!control.UpArrowShown() && !control.DownArrowShown() && !control.ButtonDown());
    QCOMPARE(control.HoverAnchor(), -1);
    QCOMPARE(control.LastHoverAnchor(), 0);
}

void HTMLStaticTextTest::savedLayoutLoadsTheSameText_data() {
    QTest::addColumn<TextSetup>("setup");
    QTest::newRow("new") << TextSetup([](THTMLStaticText&) {});
    QTest::newRow("red links") << TextSetup([](THTMLStaticText& t) {
        t.HTMLText().Add("a <A href=\"x\">link</A>");
        t.SetURLColor(clRed);
    });
    QTest::newRow("shadow") << TextSetup([](THTMLStaticText& t) {
        t.HTMLText().Add("<SH>shade</SH>");
        t.SetShadowColor(clRed);
        t.SetShadowOffset(3);
    });
    QTest::newRow("hover") << TextSetup([](THTMLStaticText& t) {
        t.SetHover(true);
        t.SetHoverColor(clYellow);
        t.SetHoverFontColor(clRed);
    });
    QTest::newRow("switches") << TextSetup([](THTMLStaticText& t) {
        t.HTMLText().Add(std::string(40, 'w'));
        t.SetEllipsis(true);
        t.SetAnchorHint(true);
        t.SetBevelOuter(bvRaised);
    });
}

// A layout saved from a static text (the properties it says it stores) and loaded into a new one gives
// the same control: every setting back, and the same picture.
void HTMLStaticTextTest::savedLayoutLoadsTheSameText() {
    QFETCH(TextSetup, setup);
    THTMLStaticText& saved = MakeText(100, 20);
    setup(saved);
    THTMLStaticText& loaded = MakeText(100, 20);
    testkit::LoadStoredProperties(saved, loaded);
    QCOMPARE(testkit::DifferentProperties(saved, loaded), QStringList());
    QCOMPARE(Snapshot(loaded), Snapshot(saved));
}

void HTMLStaticTextTest::settersRepaint_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("hover colour waits") << "HoverColor" << QVariant(clYellow) << false;
    QTest::newRow("hover font colour waits") << "HoverFontColor" << QVariant(clRed) << false;
    QTest::newRow("same URL colour") << "URLColor" << QVariant(clBlue) << false;
    QTest::newRow("new URL colour") << "URLColor" << QVariant(clRed) << true;
    QTest::newRow("same hover") << "Hover" << QVariant(false) << false;
    QTest::newRow("new hover") << "Hover" << QVariant(true) << true;
    QTest::newRow("same ellipsis") << "Ellipsis" << QVariant(false) << false;
    QTest::newRow("auto sizing") << "AutoSizing" << QVariant(true) << true;
    QTest::newRow("auto size type") << "AutoSizeType" << QVariant::fromValue(asBoth) << false;
    QTest::newRow("anchor hint") << "AnchorHint" << QVariant(true) << false;
    QTest::newRow("border") << "BorderStyle" << QVariant::fromValue(bsSingle) << true;
}

void HTMLStaticTextTest::settersRepaint() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(bool, repaints);
    THTMLStaticText& control = MakeText(100, 20);
    control.HTMLText().Add("<A href=\"x\">link</A>");
    testkit::Settle(control);
    testkit::PaintCounter paints(control);
    QVERIFY(control.setProperty(name.toLatin1().constData(), value));
    QCoreApplication::processEvents();
    QCOMPARE(paints.count > 0, repaints);
}

void HTMLStaticTextTest::textChangeDropsHoverAndFocus() {
    THTMLStaticText& control = MakeText(250, 20);
    control.HTMLText().Add(kThreeAnchors);
    control.setFocus();
    QTRY_VERIFY(control.hasFocus());
    Press(control, Qt::Key_Right);
    const std::vector<QRect> runs = ColorRuns(Snapshot(control), kUrlBlue);
    QTest::mouseMove(&control, runs.at(0).center());
    QCOMPARE(control.HoverAnchor(), 1);
    control.PictureCache().NewPicture();
    control.HTMLText().SetStrings(0, "<A href=\"x\">new</A>");
    QCOMPARE(control.HoverAnchor(), -1);
    QCOMPARE(control.FocusAnchor(), -1);
    QCOMPARE(control.PictureCache().Count(), 1);
}

void HTMLStaticTextTest::focusMovesAmongAnchors_data() {
    QTest::addColumn<std::string>("markup");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("focus");
    QTest::addColumn<QString>("href");
    const std::string none = "no links here";
    // Gaining the focus makes FocusAnchor 0.
    QTest::newRow("no anchors, right") << none << QList<int>{Qt::Key_Right} << QList<int>{0} << "";
    QTest::newRow("no anchors, left") << none << QList<int>{Qt::Key_Left} << QList<int>{-1} << "";
    QTest::newRow("no anchors, left then down")
        << none << QList<int>{Qt::Key_Left, Qt::Key_Down} << QList<int>{-1, 0} << "";
    QTest::newRow("left from the first wraps to the third")
        << kThreeAnchors << QList<int>{Qt::Key_Left} << QList<int>{2} << "three";
    QTest::newRow("right from the third wraps to the first")
        << kThreeAnchors << QList<int>{Qt::Key_Up, Qt::Key_Right} << QList<int>{2, 0} << "one";
    QTest::newRow("down walks forward")
        << kThreeAnchors << QList<int>{Qt::Key_Down, Qt::Key_Right} << QList<int>{1, 2} << "three";
}

void HTMLStaticTextTest::focusMovesAmongAnchors() {
    QFETCH(std::string, markup);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, focus);
    QFETCH(QString, href);
    THTMLStaticText& control = MakeText(250, 20);
    control.HTMLText().Add(markup);
    control.setFocus();
    QTRY_VERIFY(control.hasFocus());
    QCOMPARE(control.FocusAnchor(), 0);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        Press(control, static_cast<Qt::Key>(keys[i]));
        QCOMPARE(control.FocusAnchor(), focus[i]);
    }
    Press(control, Qt::Key_Shift);
    control.repaint();
    QCOMPARE(QString::fromStdString(control.FocusHref()), href);
}

void HTMLStaticTextTest::enterAndSpaceOpenTheFocusedAnchor_data() {
    QTest::addColumn<std::string>("markup");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("shell");
    QTest::addColumn<QStringList>("keypress");
    QTest::newRow("enter with no anchor")
        << std::string("plain") << QList<int>{Qt::Key_Return} << QStringList{} << QStringList{""};
    QTest::newRow("space on a mail link") << kThreeAnchors << QList<int>{Qt::Key_Right, Qt::Key_Space}
                                          << QStringList{"mailto:two@example.org"} << QStringList{};
    QTest::newRow("keypad enter on a page")
        << kThreeAnchors << QList<int>{Qt::Key_Enter} << QStringList{} << QStringList{"one"};
    QTest::newRow("mail prefix in capitals")
        << std::string("<A href=\"MAILTO:x@example.org\">x</A>") << QList<int>{Qt::Key_Space} << QStringList{}
        << QStringList{"MAILTO:x@example.org"};
}

void HTMLStaticTextTest::enterAndSpaceOpenTheFocusedAnchor() {
    QFETCH(std::string, markup);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, shell);
    QFETCH(QStringList, keypress);
    testkit::ShellRecorder recorder;
    THTMLStaticText& control = MakeText(250, 20);
    control.HTMLText().Add(markup);
    QStringList pressed;
    control.OnAnchorKeypress = [&](QObject* sender, const std::string& anchor) {
        QCOMPARE(sender, &control);
        pressed << QString::fromStdString(anchor);
    };
    control.setFocus();
    QTRY_VERIFY(control.hasFocus());
    control.repaint();
    for (int key : keys) {
        Press(control, static_cast<Qt::Key>(key));
    }
    QStringList opened;
    for (const std::string& target : recorder.targets) {
        opened << QString::fromStdString(target);
    }
    QCOMPARE(opened, shell);
    QCOMPARE(pressed, keypress);
}

void HTMLStaticTextTest::focusFrameShowsOnlyWithTheFocus() {
    THTMLStaticText& control = MakeText(250, 20);
    control.HTMLText().Add(kThreeAnchors);
    control.SetColor(clWhite);
    const QImage unfocused = Snapshot(control);
    control.setFocus();
    QTRY_VERIFY(control.hasFocus());
    const QImage focused = Snapshot(control);
    QVERIFY(focused != unfocused);
    control.clearFocus();
    QTRY_VERIFY(!control.hasFocus());
    QCOMPARE(control.FocusAnchor(), 0);
    QCOMPARE(Snapshot(control), unfocused);
}

void HTMLStaticTextTest::timerFollowsBlinkAndAutoScroll() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    struct Step {
        std::function<void()> change;
        int running;
        bool phase;
    };
    const std::vector<Step> steps = {
        {[&] { control.SetEnableBlink(true); }, 1, true},  {[&] { control.SetAutoScroll(true); }, 1, true},
        {[&] { control.SetEnableBlink(false); }, 1, true}, {[&] { control.SetAutoScroll(false); }, 0, true},
        {[&] { control.SetEnableBlink(true); }, 1, true},  {[&] { control.SetEnableBlink(false); }, 0, false},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].change();
        QVERIFY2(timers.RunningCount() == steps[i].running, std::to_string(i).c_str());
        QCOMPARE(control.TimerId() != 0, steps[i].running == 1);
        QCOMPARE(control.BlinkPhase(), steps[i].phase);
    }
    QCOMPARE(timers.StartCount(), 2);
    control.SetAutoScroll(true);
    delete text_;
    QCOMPARE(timers.RunningCount(), 0);
}

void HTMLStaticTextTest::timerWaitsForTheLayout() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    control.SetEnableBlink(true);
    control.BeginLayoutLoad();
    control.SetEnableBlink(false);
    control.SetAutoScroll(false);
    QCOMPARE(timers.RunningCount(), 1);
    control.setText("caption from the layout");
    control.Loaded();
    QCOMPARE(timers.RunningCount(), 0);
    QVERIFY(control.text().isEmpty());
    control.SetAutoScroll(true);
    QCOMPARE(timers.RunningCount(), 1);

    control.BeginLayoutLoad();
    control.SetAutoScroll(false);
    control.SetEnableBlink(true);
    QCOMPARE(timers.RunningCount(), 1);
    control.Loaded();
    QCOMPARE(timers.RunningCount(), 1);
}

void HTMLStaticTextTest::blinkIgnoresCase_data() {
    QTest::addColumn<std::string>("markup");
    QTest::addColumn<bool>("blinks");
    QTest::newRow("capitals") << std::string("<BLINK>WWWW</BLINK>") << true;
    QTest::newRow("small letters") << std::string("<blink>WWWW</blink>") << true;
    QTest::newRow("mixed") << std::string("<bLiNk>WWWW</bLiNk>") << true;
    QTest::newRow("no blink tag") << std::string("<B>WWWW</B>") << false;
}

void HTMLStaticTextTest::blinkIgnoresCase() {
    QFETCH(std::string, markup);
    QFETCH(bool, blinks);
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    control.SetColor(clWhite);
    control.HTMLText().Add(markup);
    control.SetEnableBlink(true);
    const QColor white(255, 255, 255);
    QVERIFY(TextInk(Snapshot(control), white) > 0);
    timers.Advance(400);
    QVERIFY(control.BlinkPhase());
    timers.Advance(100);
    QCOMPARE(control.TickCount(), 5);
    QCOMPARE(control.BlinkPhase(), !blinks);
    QCOMPARE(TextInk(Snapshot(control), white) > 0, !blinks);
    timers.Advance(500);
    QVERIFY(control.BlinkPhase());
    QVERIFY(TextInk(Snapshot(control), white) > 0);
}

void HTMLStaticTextTest::noTimerMeansNoBlinkAndNoAnimation() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    TPictureContainer container(QtPictureBackend());
    THTMLPicture& picture = AnimatedPicture(container.Items().Add().Picture());
    control.SetPictureContainer(&container);
    control.HTMLText().Add("<BLINK>blink</BLINK>");
    timers.Advance(2000);
    QCOMPARE(timers.StartCount(), 0);
    QCOMPARE(control.TickCount(), 0);
    QVERIFY(control.BlinkPhase());
    QCOMPARE(picture.Frame(), 1);
}

void HTMLStaticTextTest::gifFramesFollowTheTimer() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    TPictureContainer container(QtPictureBackend());
    THTMLPicture& shared = AnimatedPicture(container.Items().Add().Picture());
    THTMLPicture& cached = AnimatedPicture(control.PictureCache().NewPicture());
    control.SetPictureContainer(&container);
    control.SetAutoScroll(true);
    testkit::PaintCounter paints(control);
    // Frames last 100, 200 and 100 ms; the first stays for the first tick.
    const QList<int> frames{1, 2, 2, 3, 1, 2, 2, 3};
    for (qsizetype tick = 0; tick < frames.size(); ++tick) {
        const int before = shared.Frame();
        paints.count = 0;
        timers.Advance(100);
        QCOMPARE(shared.Frame(), frames[tick]);
        QCOMPARE(cached.Frame(), frames[tick]);
        QCOMPARE(paints.count > 0, before != frames[tick]);
    }
    control.ComponentRemoved(&container);
    timers.Advance(100);
    QCOMPARE(shared.Frame(), 3);
    QCOMPARE(cached.Frame(), 1);
}

// A frame the decoder refuses must not raise out of the timer (each error would open a box of its own
// while the timer runs on): the picture keeps its last good frame and the others step on.
void HTMLStaticTextTest::aFrameThatDoesNotDecodeStaysOutOfTheTimer() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 20);
    std::vector<std::uint8_t> gif =
        testkit::MakeGif(4, 4, {{.ColorIndex = 0}, {.ColorIndex = 1}, {.ColorIndex = 2}});
    std::size_t controls = 0;
    for (std::size_t p = 0; p + 18 < gif.size(); ++p) {
        if (gif[p] == 0x21 && gif[p + 1] == 0xF9 && ++controls == 2) {
            gif[p + 18] = 0x0F; // the second image's code size, beyond what GIF allows
            break;
        }
    }
    TPictureContainer container(QtPictureBackend());
    std::istringstream stream(std::string(gif.begin(), gif.end()));
    THTMLPicture& broken = container.Items().Add().Picture();
    broken.LoadStream(&stream);
    THTMLPicture& good = AnimatedPicture(container.Items().Add().Picture());
    const DecodedPicture* first = broken.Decoded();
    control.SetPictureContainer(&container);
    control.SetAutoScroll(true);
    timers.Advance(100);
    timers.Advance(100); // frame 2 of the broken picture is due
    QCOMPARE(broken.Frame(), 2);
    QCOMPARE(broken.Decoded(), first);
    QCOMPARE(good.Frame(), 2);
    timers.Advance(100);
    timers.Advance(100);
    QCOMPARE(broken.Frame(), 1);
    QCOMPARE(good.Frame(), 3);
    control.ComponentRemoved(&container);
}

void HTMLStaticTextTest::shownPicturesFollowTheirSources() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(100, 30);
    control.SetColor(clWhite);
    TPictureContainer container(QtPictureBackend());
    TPictureItem& item = container.Items().Add();
    item.Name = "anim";
    AnimatedPicture(item.Picture());
    ImageList list(8, 8);
    Bitmap yellow(8, 8);
    for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 8; ++x) {
            yellow.SetPixel(x, y, 0xFFFFFF00);
        }
    }
    list.Add(yellow);
    control.SetPictureContainer(&container);
    control.SetImages(&list);
    control.HTMLText().Add("<IMG src=\"anim\"><IMG src=\"IDX:0\">");
    control.SetEnableBlink(true);

    const QColor red(255, 0, 0);
    const QColor green(0, 255, 0);
    const QColor blue(0, 0, 255);
    const QColor yellowColor(255, 255, 0);
    QVERIFY(testkit::CountColor(Snapshot(control), red) > 0);
    QVERIFY(testkit::CountColor(Snapshot(control), yellowColor) > 0);
    // Frames of 100, 200 and 100 ms: red, then green for two ticks, then blue.
    const QList<QColor> shown{red, green, green, blue, red};
    for (const QColor& colour : shown) {
        timers.Advance(100);
        const QImage image = Snapshot(control);
        QVERIFY(testkit::CountColor(image, colour) > 0);
        for (const QColor& other : {red, green, blue}) {
            if (other != colour) {
                QCOMPARE(testkit::CountColor(image, other), 0);
            }
        }
    }
    list.Clear();
    QCOMPARE(testkit::CountColor(Snapshot(control), yellowColor), 0);
}

void HTMLStaticTextTest::miniScrollArrows() {
    THTMLStaticText& control = MakeText(120, 60);
    control.HTMLText().Add(Lines(16));
    control.SetMiniScroll(true);
    const int textHeight = testkit::MeasureMarkup(control.GetJoinedText(), control.Font(), {0, 0, 110, 60},
                                                  MarkupFlavor::StaticText)
                               .Height;
    QVERIFY(textHeight > 2 * 60);
    const QImage first = Snapshot(control);
    QVERIFY(control.DownArrowShown());
    QVERIFY(!control.UpArrowShown());
    const QColor background = first.pixelColor(60, 59);
    QVERIFY(testkit::CountColor(first, background, QRect(110, 50, 10, 10)) < 100);

    const QPoint down(115, 55);
    int expected = 0;
    while (expected <= textHeight - 60 + 8) {
        QTest::mouseClick(&control, Qt::LeftButton, {}, down);
        if (expected + 60 <= textHeight) {
            expected += 4;
        }
        QCOMPARE(control.ScrollOffset(), expected);
        QVERIFY(control.UpArrowShown());
        QCOMPARE(control.DownArrowShown(), textHeight >= 60 + expected);
        if (!control.DownArrowShown()) {
            break;
        }
    }
    QVERIFY(!control.DownArrowShown());
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(115, 4));
    QCOMPARE(control.ScrollOffset(), expected - 4);
    control.ScrollTo(-3);
    QCOMPARE(control.ScrollOffset(), 0);
    control.SetMiniScroll(false);
    control.ScrollTo(40);
    QCOMPARE(control.ScrollOffset(), 0);
}

void HTMLStaticTextTest::autoScrollFollowsTheCursor() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(120, 60);
    control.HTMLText().Add(Lines(16));
    control.SetMiniScroll(true);
    control.SetAutoScroll(true);
    control.repaint();
    QVERIFY(control.DownArrowShown());
    QCursor::setPos(control.mapToGlobal(QPoint(115, 55)));
    timers.Advance(300);
    QCOMPARE(control.ScrollOffset(), 12);
    QCursor::setPos(control.mapToGlobal(QPoint(50, 30)));
    timers.Advance(300);
    QCOMPARE(control.ScrollOffset(), 12);
    QCursor::setPos(control.mapToGlobal(QPoint(115, 4)));
    timers.Advance(200);
    QCOMPARE(control.ScrollOffset(), 4);
}

void HTMLStaticTextTest::heldButtonScrolls() {
    testkit::ManualTimers& timers = *timers_;
    THTMLStaticText& control = MakeText(120, 60);
    control.HTMLText().Add(Lines(16));
    control.SetMiniScroll(true);
    control.SetEnableBlink(true);
    control.repaint();
    const QPoint down(115, 55);
    QCursor::setPos(control.mapToGlobal(down));
    QTest::mousePress(&control, Qt::LeftButton, {}, down);
    QVERIFY(control.ButtonDown());
    QCOMPARE(control.ScrollOffset(), 4);
    timers.Advance(200);
    QCOMPARE(control.ScrollOffset(), 12);
    QTest::mouseRelease(&control, Qt::LeftButton, {}, down);
    QVERIFY(!control.ButtonDown());
    timers.Advance(200);
    QCOMPARE(control.ScrollOffset(), 12);
}

void HTMLStaticTextTest::alignmentAndMiniScroll_data() {
    QTest::addColumn<TextSetup>("change");
    QTest::addColumn<TVAlignment>("alignment");
    QTest::addColumn<bool>("miniScroll");
    QTest::addColumn<int>("offset");
    // Each row starts from MiniScroll on, scrolled by 8.
    QTest::newRow("centre turns the scroll off, offset stays")
        << TextSetup([](THTMLStaticText& t) { t.SetVAlignment(tvaCenter); }) << tvaCenter << false << 8;
    QTest::newRow("bottom too") << TextSetup([](THTMLStaticText& t) { t.SetVAlignment(tvaBottom); })
                                << tvaBottom << false << 8;
    QTest::newRow("top keeps it") << TextSetup([](THTMLStaticText& t) { t.SetVAlignment(tvaTop); }) << tvaTop
                                  << true << 8;
    QTest::newRow("scroll off goes back to 0")
        << TextSetup([](THTMLStaticText& t) { t.SetMiniScroll(false); }) << tvaTop << false << 0;
    QTest::newRow("scroll on sets top") << TextSetup([](THTMLStaticText& t) {
        t.SetMiniScroll(false);
        t.SetVAlignment(tvaBottom);
        t.SetMiniScroll(true);
    }) << tvaTop << true << 0;
}

void HTMLStaticTextTest::alignmentAndMiniScroll() {
    QFETCH(TextSetup, change);
    QFETCH(TVAlignment, alignment);
    QFETCH(bool, miniScroll);
    QFETCH(int, offset);
    THTMLStaticText& control = MakeText(120, 60);
    control.HTMLText().Add(Lines(16));
    control.SetMiniScroll(true);
    control.ScrollTo(8);
    change(control);
    QCOMPARE(control.VAlignment(), alignment);
    QCOMPARE(control.MiniScroll(), miniScroll);
    QCOMPARE(control.ScrollOffset(), offset);
}

void HTMLStaticTextTest::disabledTextIsEngraved() {
    THTMLStaticText& control = MakeText(200, 24);
    control.SetColor(clBlack);
    control.SetHover(true);
    control.SetHoverColor(clYellow);
    control.HTMLText().Add("WWW <A href=\"x\">WWW</A>");
    const std::vector<QRect> runs = ColorRuns(Snapshot(control), kUrlBlue);
    QTest::mouseMove(&control, runs.at(0).center());
    control.setEnabled(false);
    const QImage engraved = Snapshot(control);
    const QRect white = testkit::ColorBounds(engraved, QColor(255, 255, 255));
    const QRect grey = testkit::ColorBounds(engraved, QColor(128, 128, 128));
    QVERIFY(!white.isEmpty() && !grey.isEmpty());
    QCOMPARE(white.bottomRight(), grey.bottomRight() + QPoint(1, 1));
    QCOMPARE(testkit::CountColor(engraved, QColor(255, 255, 0)), 0);
    QCOMPARE(testkit::CountColor(engraved, kUrlBlue), 0);
}

void HTMLStaticTextTest::enterAndExit_data() {
    QTest::addColumn<std::string>("markup");
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QStringList>("events");
    const std::string sameTarget =
        "<A href=\"same\">XXXX</A>&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"same\">XXXX</A>";
    QTest::newRow("one anchor to the next and off")
        << kThreeAnchors << QList<int>{0, 1, 1, -1, -1}
        << QStringList{"enter one", "enter mailto:two@example.org", "exit "};
    // Unlike the label, the static text only counts a new target as entering.
    QTest::newRow("same target is one entry") << sameTarget << QList<int>{0, 1} << QStringList{"enter same"};
}

void HTMLStaticTextTest::enterAndExit() {
    QFETCH(std::string, markup);
    QFETCH(QList<int>, moves);
    QFETCH(QStringList, events);
    THTMLStaticText& control = MakeText(300, 20);
    control.HTMLText().Add(markup);
    const std::vector<QRect> runs = ColorRuns(Snapshot(control), kUrlBlue);
    QStringList seen;
    control.OnAnchorEnter = [&](QObject*, const std::string& a) {
        seen << QString::fromStdString("enter " + a);
    };
    control.OnAnchorExit = [&](QObject*, const std::string& a) {
        seen << QString::fromStdString("exit " + a);
    };
    control.setFocus();
    QTRY_VERIFY(control.hasFocus());
    for (int move : moves) {
        QTest::mouseMove(&control,
                         move < 0 ? QPoint(295, 10) : runs.at(static_cast<std::size_t>(move)).center());
        QCOMPARE(HasHandCursor(control), move >= 0);
        QCOMPARE(control.FocusAnchor(), -1);
    }
    QCOMPARE(seen, events);
}

void HTMLStaticTextTest::anchorClicks_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("toShell");
    QTest::newRow("web address") << "https://example.org/" << Qt::LeftButton << true;
    QTest::newRow("mail link, right button") << "mailto:brisel@example.org" << Qt::RightButton << true;
    QTest::newRow("capitals go to the event") << "MAILTO:brisel@example.org" << Qt::LeftButton << false;
    QTest::newRow("page, right button") << "page" << Qt::RightButton << false;
}

void HTMLStaticTextTest::anchorClicks() {
    QFETCH(QString, href);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, toShell);
    testkit::ShellRecorder shell;
    THTMLStaticText& control = MakeText(200, 20);
    control.HTMLText().Add("Go <A href=\"" + href.toStdString() + "\">there</A>");
    QStringList clicks;
    control.OnAnchorClick = [&](QObject*, const std::string& a) {
        clicks << QString::fromStdString(a);
    };
    const std::vector<QRect> runs = ColorRuns(Snapshot(control), kUrlBlue);
    QTest::mouseClick(&control, button, {}, runs.at(0).center());
    QCOMPARE(shell.targets.size(), toShell ? std::size_t{1} : std::size_t{0});
    QCOMPARE(clicks, toShell ? QStringList{} : QStringList{href});
}

void HTMLStaticTextTest::centredTextIsHitWhereItIsDrawn() {
    testkit::ShellRecorder shell;
    THTMLStaticText& control = MakeText(200, 60);
    control.SetBevelOuter(bvLowered);
    control.SetBevelWidth(2);
    control.HTMLText().Add("<A href=\"mailto:brisel@example.org\">Brisel</A>");
    control.SetVAlignment(tvaCenter);
    const QRect drawn = testkit::ColorBounds(Snapshot(control), kUrlBlue);
    QVERIFY(drawn.top() > 15);
    QTest::mouseClick(&control, Qt::LeftButton, {}, drawn.center());
    QCOMPARE(shell.targets, std::vector<std::string>{"mailto:brisel@example.org"});
}

void HTMLStaticTextTest::hints_data() {
    QTest::addColumn<bool>("anchorHint");
    QTest::addColumn<bool>("onAnchor");
    QTest::addColumn<QString>("text");
    QTest::newRow("anchor target") << true << true << "page";
    QTest::newRow("off an anchor") << true << false << "generic";
    QTest::newRow("anchor hints off") << false << true << "generic";
}

void HTMLStaticTextTest::hints() {
    QFETCH(bool, anchorHint);
    QFETCH(bool, onAnchor);
    QFETCH(QString, text);
    THTMLStaticText& control = MakeText(200, 20);
    control.HTMLText().Add("Go <A href=\"page\">there</A>");
    control.SetHint("generic");
    control.SetAnchorHint(anchorHint);
    const std::vector<QRect> runs = ColorRuns(Snapshot(control), kUrlBlue);
    const QPoint at = onAnchor ? runs.at(0).center() : QPoint(2, 10);
    const MarkupControl::HintInfo hint = control.HintAt(at);
    QCOMPARE(QString::fromStdString(hint.Text), text);
    QCOMPARE(hint.Moved, text == "page");
    if (hint.Moved) {
        QCOMPARE(hint.GlobalPos, control.mapToGlobal(at) + QPoint(10, -10));
    }
    QHelpEvent request(QEvent::ToolTip, at, control.mapToGlobal(at));
    QCoreApplication::sendEvent(&control, &request);
    QCOMPARE(QToolTip::text(), text);
    QToolTip::hideText();
}

void HTMLStaticTextTest::keptPictureFollowsEveryInput_data() {
    QTest::addColumn<TextSetup>("change");
    QTest::newRow("line edited in place")
        << TextSetup([](THTMLStaticText& t) { t.HTMLText().SetStrings(0, "<B>other</B> text"); });
    QTest::newRow("line added") << TextSetup([](THTMLStaticText& t) { t.HTMLText().Add("<BR>more"); });
    QTest::newRow("background") << TextSetup([](THTMLStaticText& t) { t.SetColor(clYellow); });
    QTest::newRow("link colour") << TextSetup([](THTMLStaticText& t) { t.SetURLColor(clRed); });
    QTest::newRow("shadow colour") << TextSetup([](THTMLStaticText& t) { t.SetShadowColor(clRed); });
    QTest::newRow("shadow offset") << TextSetup([](THTMLStaticText& t) { t.SetShadowOffset(3); });
    QTest::newRow("cut with an ellipsis") << TextSetup([](THTMLStaticText& t) { t.SetEllipsis(true); });
    QTest::newRow("font") << TextSetup([](THTMLStaticText& t) {
        FontState font = t.Font();
        font.Bold = true;
        t.SetFont(font);
    });
    QTest::newRow("bevel") << TextSetup([](THTMLStaticText& t) { t.SetBevelOuter(bvRaised); });
    QTest::newRow("disabled") << TextSetup([](THTMLStaticText& t) { t.setEnabled(false); });
    QTest::newRow("scrolled") << TextSetup([](THTMLStaticText& t) {
        t.HTMLText().Add(Lines(16));
        t.SetMiniScroll(true);
        t.repaint();
        t.ScrollTo(8);
    });
    // The background is a system colour, read from the palette on every paint.
    QTest::newRow("palette") << TextSetup([](THTMLStaticText&) {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Button, QColor(10, 120, 30));
        QGuiApplication::setPalette(palette);
    });
}

void HTMLStaticTextTest::keptPictureFollowsEveryInput() {
    QFETCH(TextSetup, change);
    const QPalette original = QGuiApplication::palette();
    const auto setup = [](THTMLStaticText& t) {
        t.HTMLText().Add(
            "Some <A href=\"x\">link</A> and <SH>shadow</SH> wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww");
        t.SetMiniScroll(false);
    };
    THTMLStaticText& kept = MakeText(200, 40);
    setup(kept);
    const QImage before = Snapshot(kept);
    QCOMPARE(Snapshot(kept), before);
    change(kept);
    const QImage after = Snapshot(kept);

    THTMLStaticText fresh(host_);
    fresh.resize(200, 40);
    fresh.show();
    setup(fresh);
    change(fresh);
    const QImage expected = Snapshot(fresh);
    QGuiApplication::setPalette(original);
    QVERIFY(after != before);
    QCOMPARE(after, expected);
}

void HTMLStaticTextTest::noBackgroundColourShowsTheWindow() {
    THTMLStaticText& control = MakeText(100, 30);
    control.HTMLText().Add("x");
    control.SetColor(clRed);
    QCOMPARE(Snapshot(*host_).pixelColor(control.pos() + QPoint(90, 25)), QColor(255, 0, 0));
    control.SetColor(clNone);
    QCOMPARE(Snapshot(*host_).pixelColor(control.pos() + QPoint(90, 25)), QColor(255, 255, 255));
}

} // namespace velmora
