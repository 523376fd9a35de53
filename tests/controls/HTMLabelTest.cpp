#include "HTMLabelTest.h"

#include "ControlTestSupport.h"
#include "controls/HTMLabel.h"
#include "graphics/ImageList.h"
#include "graphics/qt/QtCanvas.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <sstream>

Q_DECLARE_METATYPE(std::vector<std::string>)
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(velmora::TGradientType)
Q_DECLARE_METATYPE(velmora::TAlign)
Q_DECLARE_METATYPE(velmora::TAutoSizeType)
Q_DECLARE_METATYPE(std::function<void(velmora::THTMLabel&)>)

namespace velmora {

using LabelSetup = std::function<void(THTMLabel&)>;
using testkit::ColorBounds;
using testkit::ColorRuns;
using testkit::Measured;
using testkit::Snapshot;
using testkit::ToColor;

namespace {

const QColor kUrlBlue(0, 0, 255);

// Two anchors far enough apart to tell their pixels apart.
const std::string kTwoAnchors = "<A href=\"one\">XXXX</A>&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"two\">XXXX</A>";

QPoint CentreOf(const QRect& rect) {
    return rect.center();
}

void MoveTo(QWidget& widget, QPoint point) {
    QTest::mouseMove(&widget, point);
}

std::vector<QRect> AnchorRuns(THTMLabel& label) {
    return ColorRuns(Snapshot(label), kUrlBlue);
}

// The label without its hand cursor, as a fresh one is.
bool HasHandCursor(const QWidget& widget) {
    return widget.testAttribute(Qt::WA_SetCursor) && widget.cursor().shape() == Qt::PointingHandCursor;
}

} // namespace

void HTMLabelTest::init() {
    testkit::FailOnQtWarnings();
    host_ = testkit::ShownHost(320, 200);
    QVERIFY(testkit::WaitExposed(*host_));
    testkit::ParkMouse(*host_);
}

void HTMLabelTest::cleanup() {
    delete host_;
    label_ = nullptr;
}

THTMLabel& HTMLabelTest::MakeLabel(int width, int height) {
    label_ = new THTMLabel(host_);
    label_->setGeometry(10, 10, width, height);
    label_->show();
    return *label_;
}

void HTMLabelTest::creationValues_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("URLColor") << "URLColor" << QVariant(clBlue);
    QTest::newRow("ShadowColor") << "ShadowColor" << QVariant(clGray);
    QTest::newRow("ShadowOffset") << "ShadowOffset" << QVariant(2);
    QTest::newRow("Hover") << "Hover" << QVariant(false);
    QTest::newRow("HoverColor") << "HoverColor" << QVariant(clNone);
    QTest::newRow("HoverFontColor") << "HoverFontColor" << QVariant(clNone);
    QTest::newRow("ColorTo") << "ColorTo" << QVariant(clNone);
    QTest::newRow("GradientType") << "GradientType" << QVariant::fromValue(gtFullHorizontal);
    QTest::newRow("LineWidth") << "LineWidth" << QVariant(0);
    QTest::newRow("BevelInner") << "BevelInner" << QVariant::fromValue(bvNone);
    QTest::newRow("BevelOuter") << "BevelOuter" << QVariant::fromValue(bvNone);
    QTest::newRow("BevelWidth") << "BevelWidth" << QVariant(1);
    QTest::newRow("BorderWidth") << "BorderWidth" << QVariant(0);
    QTest::newRow("BorderStyle") << "BorderStyle" << QVariant::fromValue(bsNone);
    QTest::newRow("VAlignment") << "VAlignment" << QVariant::fromValue(tvaTop);
    QTest::newRow("Ellipsis") << "Ellipsis" << QVariant(false);
    QTest::newRow("AutoSizing") << "AutoSizing" << QVariant(false);
    QTest::newRow("AutoSizeType") << "AutoSizeType" << QVariant::fromValue(asVertical);
    QTest::newRow("AnchorHint") << "AnchorHint" << QVariant(false);
    QTest::newRow("HintShowFull") << "HintShowFull" << QVariant(false);
    QTest::newRow("HTMLHint") << "HTMLHint" << QVariant(false);
    QTest::newRow("Transparent") << "Transparent" << QVariant(false);
    QTest::newRow("Color") << "Color" << QVariant(clBtnFace);
    QTest::newRow("Align") << "Align" << QVariant::fromValue(alNone);
    QTest::newRow("HTMLText") << "HTMLText" << QVariant(QStringList());
}

void HTMLabelTest::creationValues() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    THTMLabel& label = MakeLabel(100, 20);
    const QVariant actual = label.property(name.toLatin1().constData());
    QVERIFY2(actual.isValid(), "no such property");
    QCOMPARE(actual, value);
    QCOMPARE(label.HoverAnchor(), -1);
    QCOMPARE(label.LastHoverAnchor(), 0);
    QCOMPARE(label.HoverRect(), (Rect{0, 0, 0, 0}));
    QVERIFY(label.LastAnchor().empty());
    QVERIFY(label.Images() == nullptr);
    QVERIFY(label.PictureContainer() == nullptr);
    QVERIFY(!HasHandCursor(label));
    QCOMPARE(label.focusPolicy(), Qt::NoFocus);
}

void HTMLabelTest::savedLayoutLoadsTheSameLabel_data() {
    QTest::addColumn<LabelSetup>("setup");
    QTest::newRow("new") << LabelSetup([](THTMLabel&) {});
    QTest::newRow("text") << LabelSetup([](THTMLabel& l) { l.HTMLText().Add("a <A href=\"x\">link</A>"); });
    QTest::newRow("bevels") << LabelSetup([](THTMLabel& l) {
        l.SetBevelInner(bvSpace);
        l.SetBevelOuter(bvRaised);
        l.SetBevelWidth(2);
    });
    QTest::newRow("border") << LabelSetup([](THTMLabel& l) {
        l.SetBorderWidth(1);
        l.SetBorderStyle(bsSingle);
    });
    QTest::newRow("links and hover") << LabelSetup([](THTMLabel& l) {
        l.HTMLText().Add("<A href=\"x\">link</A>");
        l.SetURLColor(clRed);
        l.SetHover(true);
    });
}

// A layout saved from a label (the properties it says it stores) and loaded into a new one gives the
// same label: every setting back, and the same picture.
void HTMLabelTest::savedLayoutLoadsTheSameLabel() {
    QFETCH(LabelSetup, setup);
    THTMLabel& saved = MakeLabel(100, 20);
    setup(saved);
    THTMLabel& loaded = MakeLabel(100, 20);
    testkit::LoadStoredProperties(saved, loaded);
    QCOMPARE(testkit::DifferentProperties(saved, loaded), QStringList());
    QCOMPARE(Snapshot(loaded), Snapshot(saved));
}

void HTMLabelTest::settersRepaint_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("same URL colour") << "URLColor" << QVariant(clBlue) << false;
    QTest::newRow("new URL colour") << "URLColor" << QVariant(clRed) << true;
    QTest::newRow("same alignment") << "VAlignment" << QVariant::fromValue(tvaTop) << false;
    QTest::newRow("new alignment") << "VAlignment" << QVariant::fromValue(tvaBottom) << true;
    QTest::newRow("same ellipsis") << "Ellipsis" << QVariant(false) << false;
    QTest::newRow("new ellipsis") << "Ellipsis" << QVariant(true) << true;
    QTest::newRow("hover colour") << "HoverColor" << QVariant(clYellow) << true;
    QTest::newRow("same shadow offset") << "ShadowOffset" << QVariant(2) << true;
    QTest::newRow("line width") << "LineWidth" << QVariant(3) << true;
    QTest::newRow("gradient") << "GradientType" << QVariant::fromValue(gtTopLine) << true;
    QTest::newRow("anchor hint") << "AnchorHint" << QVariant(true) << false;
    QTest::newRow("full hint") << "HintShowFull" << QVariant(true) << false;
    QTest::newRow("markup hint") << "HTMLHint" << QVariant(true) << false;
}

void HTMLabelTest::settersRepaint() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(bool, repaints);
    THTMLabel& label = MakeLabel(100, 20);
    testkit::Settle(label);
    testkit::PaintCounter paints(label);
    QVERIFY(label.setProperty(name.toLatin1().constData(), value));
    QCoreApplication::processEvents();
    QCOMPARE(paints.count > 0, repaints);
    QCOMPARE(label.property(name.toLatin1().constData()), value);
}

void HTMLabelTest::textAssignment_data() {
    QTest::addColumn<std::vector<std::string>>("lines");
    QTest::addColumn<std::vector<std::string>>("stored");
    using Lines = std::vector<std::string>;
    QTest::newRow("two lines join without a break")
        << Lines{"<B>first</B>", "second"} << Lines{"<B>first</B>second"};
    QTest::newRow("breaks inside a line go") << Lines{"a\r\nb\rc\nd"} << Lines{"abcd"};
    QTest::newRow("one empty line leaves none") << Lines{""} << Lines{};
    QTest::newRow("no lines") << Lines{} << Lines{};
}

void HTMLabelTest::textAssignment() {
    QFETCH(std::vector<std::string>, lines);
    QFETCH(std::vector<std::string>, stored);
    THTMLabel& label = MakeLabel(100, 20);
    label.HTMLText().Assign({"old", "text"});
    label.SetHTMLText(&lines);
    QCOMPARE(label.HTMLText().Lines(), stored);

    label.SetHTMLText(nullptr);
    QCOMPARE(label.HTMLText().Lines(), stored);
}

void HTMLabelTest::textChangesEmptyThePictureCache_data() {
    QTest::addColumn<LabelSetup>("change");
    QTest::newRow("new lines") << LabelSetup([](THTMLabel& label) {
        const std::vector<std::string> lines{"x"};
        label.SetHTMLText(&lines);
    });
    QTest::newRow("a line added") << LabelSetup([](THTMLabel& label) { label.HTMLText().Add("y"); });
    QTest::newRow("a line replaced") << LabelSetup(
        [](THTMLabel& label) { label.HTMLText().SetStrings(0, "z"); });
    QTest::newRow("from a saved layout")
        << LabelSetup([](THTMLabel& label) { label.setProperty("HTMLText", QStringList{"from a layout"}); });
}

void HTMLabelTest::textChangesEmptyThePictureCache() {
    QFETCH(LabelSetup, change);
    THTMLabel& label = MakeLabel(100, 20);
    label.HTMLText().Add("w");
    label.PictureCache().NewPicture();
    QCOMPARE(label.PictureCache().Count(), 1);
    change(label);
    QCOMPARE(label.PictureCache().Count(), 0);
}

void HTMLabelTest::backgrounds_data() {
    QTest::addColumn<TGradientType>("type");
    QTest::addColumn<TColor>("colorTo");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("height");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");

    const QColor red(255, 0, 0);
    const QColor white(255, 255, 255);
    // 40 pixels wide: 10 steps from red to blue; band 9 begins at x = 36 with Round(229.5) = 230 of blue.
    QTest::newRow("horizontal, first band")
        << gtFullHorizontal << clBlue << false << 10 << QPoint(0, 5) << red;
    QTest::newRow("horizontal, last band")
        << gtFullHorizontal << clBlue << false << 10 << QPoint(39, 5) << QColor(25, 0, 230);
    QTest::newRow("vertical uses width steps")
        << gtFullVertical << clBlue << false << 30 << QPoint(20, 29) << QColor(25, 0, 230);
    QTest::newRow("no second colour, plain")
        << gtFullVertical << clNone << false << 30 << QPoint(20, 29) << red;
    QTest::newRow("transparent shows the window")
        << gtFullHorizontal << clBlue << true << 10 << QPoint(39, 5) << white;
    // 17 pixels high: the line takes rows 8 and 9 and is drawn over a transparent label too.
    QTest::newRow("centre line, row 8")
        << gtCenterLine << clBlue << true << 17 << QPoint(39, 8) << QColor(25, 0, 230);
    QTest::newRow("centre line, row 9") << gtCenterLine << clBlue << true << 17 << QPoint(0, 9) << red;
    QTest::newRow("above the centre line") << gtCenterLine << clBlue << true << 17 << QPoint(0, 7) << white;
    QTest::newRow("below the centre line") << gtCenterLine << clBlue << true << 17 << QPoint(0, 10) << white;
    QTest::newRow("top line towards white")
        << gtTopLine << clNone << false << 17 << QPoint(39, 1) << QColor(255, 230, 230);
    QTest::newRow("bottom line") << gtBottomLine << clBlue << false << 17 << QPoint(39, 15)
                                 << QColor(25, 0, 230);
    QTest::newRow("above the bottom line") << gtBottomLine << clBlue << false << 17 << QPoint(39, 14) << red;
}

void HTMLabelTest::backgrounds() {
    QFETCH(TGradientType, type);
    QFETCH(TColor, colorTo);
    QFETCH(bool, transparent);
    QFETCH(int, height);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    THTMLabel& label = MakeLabel(40, height);
    label.SetColor(clRed);
    label.SetColorTo(colorTo);
    label.SetGradientType(type);
    label.SetTransparent(transparent);
    const QImage window = Snapshot(*host_);
    QCOMPARE(window.pixelColor(label.pos() + probe), expected);
}

void HTMLabelTest::bevelsAndBorder_data() {
    QTest::addColumn<LabelSetup>("setup");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    const LabelSetup raised = [](THTMLabel& l) {
        l.SetBevelOuter(bvRaised);
    };
    const LabelSetup lowered = [](THTMLabel& l) {
        l.SetBevelOuter(bvLowered);
    };
    const LabelSetup wide = [](THTMLabel& l) {
        l.SetBevelInner(bvLowered);
        l.SetBevelWidth(2);
        l.SetBorderWidth(3);
    };
    QTest::newRow("raised, top left") << raised << QPoint(0, 0) << ToColor(clBtnHighlight);
    QTest::newRow("raised, bottom right") << raised << QPoint(39, 19) << ToColor(clBtnShadow);
    QTest::newRow("lowered, top left") << lowered << QPoint(0, 10) << ToColor(clBtnShadow);
    QTest::newRow("lowered, bottom right") << lowered << QPoint(20, 19) << ToColor(clBtnHighlight);
    // The margin of BorderWidth pixels in the background colour lies between the bevels.
    QTest::newRow("margin before the inner bevel") << wide << QPoint(2, 10) << QColor(255, 0, 0);
    QTest::newRow("inner bevel after the margin") << wide << QPoint(3, 10) << ToColor(clBtnShadow);
    QTest::newRow("inner bevel, second frame") << wide << QPoint(4, 10) << ToColor(clBtnShadow);
    QTest::newRow("inside the inner bevel") << wide << QPoint(5, 10) << QColor(255, 0, 0);
}

void HTMLabelTest::bevelsAndBorder() {
    QFETCH(LabelSetup, setup);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    THTMLabel& label = MakeLabel(40, 20);
    label.SetColor(clRed);
    setup(label);
    QCOMPARE(Snapshot(label).pixelColor(probe), expected);
}

void HTMLabelTest::anchorClicks_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("toShell");
    QTest::newRow("web address") << "http://example.org/" << Qt::LeftButton << true;
    QTest::newRow("scheme after other text") << "go ftp://example.org" << Qt::LeftButton << true;
    QTest::newRow("mail link, right button") << "mailto:dastrel@example.org" << Qt::RightButton << true;
    QTest::newRow("mail prefix in capitals") << "MAILTO:dastrel@example.org" << Qt::LeftButton << false;
    QTest::newRow("page name") << "page2" << Qt::LeftButton << false;
    QTest::newRow("page name, middle button") << "page2" << Qt::MiddleButton << false;
}

void HTMLabelTest::anchorClicks() {
    QFETCH(QString, href);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, toShell);
    testkit::ShellRecorder shell;
    THTMLabel& label = MakeLabel(200, 20);
    label.HTMLText().Add("Go <A href=\"" + href.toStdString() + "\">there</A> now");
    std::vector<std::string> events;
    label.OnMouseDown = [&](QObject* sender, Qt::MouseButton pressed, Qt::KeyboardModifiers, int x, int y) {
        QCOMPARE(sender, &label);
        events.push_back("down " + std::to_string(pressed) + " " + std::to_string(x) + "," +
                         std::to_string(y));
    };
    label.OnAnchorClick = [&](QObject* sender, const std::string& anchor) {
        QCOMPARE(sender, &label);
        events.push_back("click " + anchor);
    };
    const std::vector<QRect> runs = AnchorRuns(label);
    QCOMPARE(runs.size(), std::size_t{1});
    const QPoint at = CentreOf(runs[0]);
    QTest::mouseClick(&label, button, {}, at);

    const std::string down =
        "down " + std::to_string(button) + " " + std::to_string(at.x()) + "," + std::to_string(at.y());
    if (toShell) {
        QCOMPARE(shell.targets, std::vector<std::string>{href.toStdString()});
        QCOMPARE(events, std::vector<std::string>{down});
    } else {
        QVERIFY(shell.targets.empty());
        QCOMPARE(events, (std::vector<std::string>{down, "click " + href.toStdString()}));
    }

    events.clear();
    QTest::mouseClick(&label, button, {}, QPoint(1, 1));
    QCOMPARE(events.size(), std::size_t{1});
}

void HTMLabelTest::enterAndExit_data() {
    QTest::addColumn<std::string>("markup");
    QTest::addColumn<QList<int>>("moves"); // anchor run to move onto, -1 for empty space
    QTest::addColumn<QStringList>("events");
    QTest::newRow("one to the other and off")
        << kTwoAnchors << QList<int>{0, 0, 1, -1, -1} << QStringList{"enter one", "enter two", "exit "};
    QTest::newRow("same target twice counts as entering again")
        << std::string("<A href=\"same\">XXXX</A>&nbsp;&nbsp;&nbsp;&nbsp;<A href=\"same\">XXXX</A>")
        << QList<int>{0, 1, 1} << QStringList{"enter same", "enter same"};
    QTest::newRow("back and forth") << kTwoAnchors << QList<int>{1, -1, 1}
                                    << QStringList{"enter two", "exit ", "enter two"};
}

void HTMLabelTest::enterAndExit() {
    QFETCH(std::string, markup);
    QFETCH(QList<int>, moves);
    QFETCH(QStringList, events);
    THTMLabel& label = MakeLabel(250, 20);
    label.HTMLText().Add(markup);
    const std::vector<QRect> runs = AnchorRuns(label);
    QCOMPARE(runs.size(), std::size_t{2});
    QStringList seen;
    label.OnAnchorEnter = [&](QObject*, const std::string& anchor) {
        seen << QString::fromStdString("enter " + anchor);
    };
    label.OnAnchorExit = [&](QObject*, const std::string& anchor) {
        seen << QString::fromStdString("exit " + anchor);
    };
    for (int move : moves) {
        MoveTo(label, move < 0 ? QPoint(245, 10) : CentreOf(runs[static_cast<std::size_t>(move)]));
        QCOMPARE(HasHandCursor(label), move >= 0);
        QCOMPARE(label.HoverAnchor(), move < 0 ? -1 : move + 1);
    }
    QCOMPARE(seen, events);
}

void HTMLabelTest::hoverHighlightsOnlyTheHoveredAnchor() {
    THTMLabel& label = MakeLabel(250, 20);
    label.HTMLText().Add(kTwoAnchors);
    const std::vector<QRect> runs = AnchorRuns(label);
    QCOMPARE(runs.size(), std::size_t{2});
    label.SetHover(true);
    label.SetHoverColor(clYellow);
    label.SetHoverFontColor(clLime);
    const QColor yellow(255, 255, 0);
    const QColor lime(0, 255, 0);
    QCOMPARE(testkit::CountColor(Snapshot(label), yellow), 0);

    MoveTo(label, CentreOf(runs[1]));
    QVERIFY(label.HoverRect().Left > runs[0].right());
    const QImage hovered = Snapshot(label);
    const QRect first(runs[0].left(), 0, runs[0].width(), label.height());
    const QRect second(runs[1].left(), 0, runs[1].width(), label.height());
    QCOMPARE(testkit::CountColor(hovered, yellow, first), 0);
    QVERIFY(testkit::CountColor(hovered, yellow, second) > 0);
    QVERIFY(testkit::CountColor(hovered, lime, second) > 0);
    // With hover on, only the hovered anchor is underlined; the others keep the link colour alone.
    QCOMPARE(testkit::CountColor(hovered, kUrlBlue, runs[0]), 0);

    MoveTo(label, QPoint(245, 10));
    QCOMPARE(label.HoverRect(), (Rect{-1, -1, -1, -1}));
    QCOMPARE(testkit::CountColor(Snapshot(label), yellow), 0);
}

void HTMLabelTest::hoveredAnchorNumberIsLogged() {
    THTMLabel& label = MakeLabel(250, 20);
    label.HTMLText().Add(kTwoAnchors);
    const std::vector<QRect> runs = AnchorRuns(label);
    QCOMPARE(runs.size(), std::size_t{2});
    QLoggingCategory::setFilterRules("velmora.markup.debug=true");
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (QByteArray(context.category) == "velmora.markup") {
                logged << message;
            }
        });
    MoveTo(label, CentreOf(runs[1]));
    MoveTo(label, CentreOf(runs[1]) + QPoint(1, 0));
    MoveTo(label, CentreOf(runs[0]));
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules("velmora.markup.debug=false");
    QCOMPARE(logged, (QStringList{"2", "1"}));
}

void HTMLabelTest::leavingResetsTheHoverButNotTheCursor() {
    THTMLabel& label = MakeLabel(250, 20);
    label.HTMLText().Add(kTwoAnchors);
    const std::vector<QRect> runs = AnchorRuns(label);
    QStringList seen;
    label.OnMouseEnter = [&](QObject* sender) {
        QCOMPARE(sender, &label);
        seen << "enter";
    };
    label.OnMouseLeave = [&](QObject*) {
        seen << "leave";
    };
    MoveTo(label, CentreOf(runs[0]));
    QCOMPARE(label.HoverAnchor(), 1);
    QTest::mouseMove(host_, QPoint(300, 150));
    QCOMPARE(label.HoverAnchor(), -1);
    QVERIFY(HasHandCursor(label));
    QCOMPARE(label.LastAnchor(), std::string("one"));
    QCOMPARE(seen, (QStringList{"enter", "leave"}));
}

void HTMLabelTest::hints_data() {
    QTest::addColumn<LabelSetup>("setup");
    QTest::addColumn<bool>("onAnchor");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("moved");
    const LabelSetup anchorHint = [](THTMLabel& l) {
        l.SetAnchorHint(true);
    };
    const LabelSetup replaced = [](THTMLabel& l) {
        l.SetAnchorHint(true);
        l.OnAnchorHint = [](QObject*, std::string& anchor) {
            anchor = "replaced " + anchor;
        };
    };
    const LabelSetup full = [](THTMLabel& l) {
        l.SetHintShowFull(true);
    };
    const LabelSetup fullMarkup = [](THTMLabel& l) {
        l.SetHintShowFull(true);
        l.SetHTMLHint(true);
    };
    const LabelSetup both = [](THTMLabel& l) {
        l.SetAnchorHint(true);
        l.SetHintShowFull(true);
    };
    const QString markup = "Go <B>to</B> <A href=\"page\">there</A>";
    QTest::newRow("anchor target") << anchorHint << true << "page" << true;
    QTest::newRow("handler replaces it") << replaced << true << "replaced page" << true;
    QTest::newRow("plain text, generic hint") << anchorHint << false << "generic" << false;
    QTest::newRow("full text without tags") << full << false << "Go to there" << false;
    QTest::newRow("full text as markup") << fullMarkup << false << markup << false;
    QTest::newRow("full text also over an anchor") << full << true << "Go to there" << false;
    QTest::newRow("anchor before full text") << both << true << "page" << true;
    QTest::newRow("full text off an anchor") << both << false << "Go to there" << false;
}

void HTMLabelTest::hints() {
    QFETCH(LabelSetup, setup);
    QFETCH(bool, onAnchor);
    QFETCH(QString, text);
    QFETCH(bool, moved);
    THTMLabel& label = MakeLabel(250, 20);
    label.HTMLText().Add("Go <B>to</B> <A href=\"page\">there</A>");
    label.SetHint("generic");
    setup(label);
    const std::vector<QRect> runs = AnchorRuns(label);
    QCOMPARE(runs.size(), std::size_t{1});
    const QPoint at = onAnchor ? CentreOf(runs[0]) : QPoint(3, 10);

    const MarkupControl::HintInfo hint = label.HintAt(at);
    QCOMPARE(QString::fromStdString(hint.Text), text);
    QCOMPARE(hint.Moved, moved);
    if (moved) {
        QCOMPARE(hint.GlobalPos, label.mapToGlobal(at) + QPoint(10, -10));
    }
    QHelpEvent request(QEvent::ToolTip, at, label.mapToGlobal(at));
    QCoreApplication::sendEvent(&label, &request);
    QCOMPARE(QToolTip::text(), text);
    QToolTip::hideText();
}

void HTMLabelTest::autoSizing_data() {
    QTest::addColumn<TAlign>("align");
    QTest::addColumn<TAutoSizeType>("type");
    QTest::addColumn<bool>("growsDown");
    QTest::addColumn<bool>("growsRight");
    QTest::newRow("vertical") << alNone << asVertical << true << false;
    QTest::newRow("horizontal") << alNone << asHorizontal << false << true;
    QTest::newRow("both") << alNone << asBoth << true << true;
    QTest::newRow("docked left, both") << alLeft << asBoth << false << true;
    QTest::newRow("docked top, both") << alTop << asBoth << true << false;
    QTest::newRow("client") << alClient << asBoth << false << false;
}

void HTMLabelTest::autoSizing() {
    QFETCH(TAlign, align);
    QFETCH(TAutoSizeType, type);
    QFETCH(bool, growsDown);
    QFETCH(bool, growsRight);
    const std::string markup = "first line<BR>second<BR>third";
    THTMLabel& label = MakeLabel(200, 50);
    label.SetBevelOuter(bvRaised);
    label.SetBevelWidth(3);
    label.HTMLText().Add(markup);
    label.SetAlign(align);
    label.SetAutoSizeType(type);
    label.SetAutoSizing(true);
    const Measured text =
        testkit::MeasureMarkup(markup, label.Font(), {0, 0, 10000, 10000}, MarkupFlavor::Label);
    QVERIFY(text.Height > 30);
    QTRY_COMPARE(label.height(), growsDown ? text.Height + 6 : (align == alTop ? 6 : 50));
    QTRY_COMPARE(label.width(), growsRight ? text.Width + 6 : 200);
}

void HTMLabelTest::centredTextIsHitWhereItIsDrawn() {
    testkit::ShellRecorder shell;
    THTMLabel& label = MakeLabel(200, 60);
    label.HTMLText().Add("<A href=\"http://example.org/\">centred</A>");
    const QRect top = ColorBounds(Snapshot(label), kUrlBlue);
    label.SetVAlignment(tvaCenter);
    const QRect centred = ColorBounds(Snapshot(label), kUrlBlue);
    const Measured text =
        testkit::MeasureMarkup(label.GetJoinedText(), label.Font(), {0, 0, 200, 60}, MarkupFlavor::Label);
    QCOMPARE(centred.top() - top.top(), (60 - text.Height) / 2);

    QVERIFY(label.AnchorAt(top.center().x(), top.center().y()).Anchor.empty());
    QTest::mouseClick(&label, Qt::LeftButton, {}, centred.center());
    QCOMPARE(shell.targets, std::vector<std::string>{"http://example.org/"});
}

void HTMLabelTest::hitsFollowWhatMovesTheLines() {
    // Each change moves the link; a hit after it must find the link where a fresh layout puts it.
    ImageList list(16, 16);
    TPictureContainer wide(QtPictureBackend());
    TPictureItem& item = wide.Items().Add();
    item.Name = "p";
    const std::vector<std::uint8_t> gif = testkit::MakeGif(40, 8, {{.ColorIndex = 0}});
    std::istringstream stream(std::string(gif.begin(), gif.end()));
    item.Picture().LoadStream(&stream);
    struct Change {
        const char* name;
        std::function<void(THTMLabel&)> apply;
    };
    const Change changes[] = {
        {"the image list gains its image",
         [&](THTMLabel&) {
             list.Add(Bitmap(16, 16));
         }},
        {"a picture container",
         [&](THTMLabel& l) {
             l.SetPictureContainer(&wide);
         }},
        {"the font",
         [](THTMLabel& l) {
             l.SetFont({"Arial", 14, clBlack});
         }},
        {"the width",
         [](THTMLabel& l) {
             l.resize(70, 60);
         }},
        {"the text",
         [](THTMLabel& l) {
             l.HTMLText().SetStrings(0, "longer words <A href=\"t\">link</A>");
         }},
        {"wrapping",
         [](THTMLabel& l) {
             l.SetEllipsis(true);
         }},
    };
    for (const Change& change : changes) {
        list.Clear();
        THTMLabel& label = MakeLabel(150, 60);
        label.SetImages(&list);
        label.HTMLText().Add("<IMG src=\"IDX:0\"><IMG src=\"p\">ab cd <A href=\"t\">link words</A> end");
        for (int x = 0; x < label.width(); ++x) {
            label.AnchorAt(x, 8);
        }
        change.apply(label);
        int differences = 0;
        int found = 0;
        for (int y = 0; y < label.height(); y += 3) {
            for (int x = 0; x < label.width(); ++x) {
                const std::string kept = label.AnchorAt(x, y).Anchor;
                differences += kept == testkit::FreshAnchorAt(label, MarkupFlavor::Label, x, y) ? 0 : 1;
                found += kept.empty() ? 0 : 1;
            }
        }
        QVERIFY2(differences == 0, change.name);
        QVERIFY2(found > 0, change.name);
        label.ComponentRemoved(&wide);
        label.ComponentRemoved(&list);
        delete &label;
    }
}

void HTMLabelTest::removedComponentsAreForgotten() {
    THTMLabel& label = MakeLabel(100, 20);
    label.HTMLText().Add("<A href=\"x\">pictures</A>");
    auto* list = new ImageList(16, 16);
    label.SetImages(list);
    QCOMPARE(label.Images(), list);
    testkit::PaintCounter paints(label);
    QCoreApplication::processEvents();
    paints.count = 0;
    list->Add(Bitmap(16, 16));
    QCoreApplication::processEvents();
    QVERIFY(paints.count > 0);
    delete list;
    QVERIFY(label.Images() == nullptr);
    QVERIFY(!label.IsPropertyStored("Images"));
    QVERIFY(testkit::CountColor(Snapshot(label), kUrlBlue) > 0);

    TPictureContainer container(QtPictureBackend());
    TPictureContainer other(QtPictureBackend());
    label.SetPictureContainer(&container);
    QVERIFY(label.IsPropertyStored("PictureContainer"));
    label.ComponentRemoved(&other);
    QCOMPARE(label.PictureContainer(), &container);
    label.ComponentRemoved(&container);
    QVERIFY(label.PictureContainer() == nullptr);
}

void HTMLabelTest::captionIsNeverShown() {
    THTMLabel& label = MakeLabel(100, 20);
    label.setText("caption");
    Snapshot(label);
    QVERIFY(label.text().isEmpty());
    label.BeginLayoutLoad();
    label.setText("from the layout");
    label.Loaded();
    QVERIFY(label.text().isEmpty());
    QVERIFY(!label.IsLoading());
}

void HTMLabelTest::renderTextLendsTheLabelsPictures_data() {
    QTest::addColumn<bool>("ellipsis");
    QTest::newRow("wrapping") << false;
    QTest::newRow("ellipsis") << true;
}

// A call built without the label's sources still shows its pictures, wraps as the label does and has no
// line spacing.
void HTMLabelTest::renderTextLendsTheLabelsPictures() {
    QFETCH(bool, ellipsis);
    THTMLabel& label = MakeLabel(100, 20);
    label.SetEllipsis(ellipsis);
    TPictureContainer container(QtPictureBackend());
    TPictureItem& item = container.Items().Add();
    item.Name = "logo";
    const std::vector<std::uint8_t> gif = testkit::MakeGif(12, 4, {{.ColorIndex = 0}});
    std::istringstream stream(std::string(gif.begin(), gif.end()));
    item.Picture().LoadStream(&stream);
    label.SetPictureContainer(&container);

    QImage surface(100, 20, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&surface);
    QtCanvas canvas(painter);
    MarkupCall bare(canvas);
    bare.Request.Markup = "<IMG src=\"logo\">";
    bare.Request.NoDraw = true;
    bare.Request.LineSpacing = 5;
    MarkupCall throughLabel = bare;
    bare.Run();
    label.RenderText(throughLabel);
    QCOMPARE(bare.Result.TextWidth, 0);
    QVERIFY(throughLabel.Result.TextWidth >= 12);
    QCOMPARE(throughLabel.Request.WordWrap, !ellipsis);
    QCOMPARE(throughLabel.Request.LineSpacing, 0);
    label.ComponentRemoved(&container);
}

} // namespace velmora
