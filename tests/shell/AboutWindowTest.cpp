#include "AboutWindowTest.h"

#include "ShellTestSupport.h"
#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "graphics/qt/QtConversions.h"
#include "platform/desktop/ShellOpen.h"
#include "shell/LinkLabel.h"
#include "shell/PictureBox.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QCheckBox>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

namespace velmora {

using namespace testkit;

namespace {

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 190 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

struct RedInk {
    int count = 0;
    QRect bounds;
};

RedInk RedInkIn(const QImage& image, const QRect& area) {
    RedInk ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (IsRed(image.pixel(x, y))) {
                ++ink.count;
                ink.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// The middle of the area where the control's hit test finds `target`; a null
// point when it finds it nowhere.
template <typename Control> QPoint AnchorPoint(Control& control, const std::string& target) {
    QRect found;
    for (int y = 0; y < control.height(); ++y) {
        for (int x = 0; x < control.width(); ++x) {
            if (control.AnchorAt(x, y).Anchor == target) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found.isEmpty() ? QPoint() : found.center();
}

QWidget* Child(QWidget& window, const QString& name) {
    return window.findChild<QWidget*>(name);
}

// Each point of `picture` that `shown` does not have at `origin` + the point, named with both colours.
QStringList PixelsNotShown(const QImage& shown, QPoint origin, const QImage& picture,
                           const QList<QPoint>& points) {
    QStringList misses;
    for (const QPoint at : points) {
        const QColor seen(shown.pixel(origin + at));
        const QColor expected(picture.pixel(at));
        if (seen != expected) {
            misses
                << QString("(%1, %2): %3 for %4").arg(at.x()).arg(at.y()).arg(seen.name(), expected.name());
        }
    }
    return misses;
}

} // namespace

AboutWindowTest::AboutWindowTest() = default;
AboutWindowTest::~AboutWindowTest() = default;

void AboutWindowTest::init() {
    FailOnQtWarnings();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    UsePrivateDesktopFolders(work_->path());
    RecordShellOpens(opened_);
    main_ = std::make_unique<TForm1>(std::nullopt);
    about_ = std::make_unique<TForm2>(main_.get());
    main_->Form2 = about_.get();
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void AboutWindowTest::cleanup() {
    about_.reset();
    main_.reset();
    SetShellOpenHandler({});
    work_.reset();
}

void AboutWindowTest::OpenAbout() {
    main_->Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
}

void AboutWindowTest::windowIsLaidOutAsDesigned() {
    QVERIFY(!about_->isVisible());
    OpenAbout();
    QCOMPARE(about_->windowTitle(), "À propos");
    // The client area that an outer size of 332 x 337 leaves inside a sizeable
    // border and a caption.
    QCOMPARE(about_->size(), QSize(324, 310));
    const Qt::WindowFlags flags = about_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    const Qt::WindowFlags buttons = flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                             Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    QVERIFY2(!buttons, "caption buttons 0x" + QByteArray::number(buttons.toInt(), 16));
    // Fixed: maximised, it was a white screen with its controls in a corner.
    QCOMPARE(about_->minimumSize(), QSize(324, 310));
    QCOMPARE(about_->maximumSize(), QSize(324, 310));
    QCOMPARE(about_->palette().color(QPalette::Window), ToQColor(clCaptionText));
    QCOMPARE(about_->font().pixelSize(), 11);
    QVERIFY(!about_->testAttribute(Qt::WA_QuitOnClose));
}

void AboutWindowTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<bool>("visible");
    QTest::newRow("logo") << "Image1" << QByteArray("PictureBox") << QRect(96, 8, 137, 121) << true;
    QTest::newRow("portrait") << "Image2" << QByteArray("PictureBox") << QRect(112, 8, 113, 137) << false;
    QTest::newRow("notice") << "HTMLStaticText1" << QByteArray("velmora::THTMLStaticText")
                            << QRect(8, 144, 313, 105) << true;
    QTest::newRow("donation") << "HTMLabel1" << QByteArray("velmora::THTMLabel") << QRect(16, 256, 297, 17)
                              << true;
    QTest::newRow("thanks") << "HTMLabel2" << QByteArray("velmora::THTMLabel") << QRect(248, 272, 65, 33)
                            << true;
    QTest::newRow("OK") << "BitBtn1" << QByteArray("QPushButton") << QRect(128, 280, 75, 25) << true;
}

void AboutWindowTest::controls() {
    QFETCH(QString, name);
    QFETCH(QByteArray, kind);
    QFETCH(QRect, bounds);
    QFETCH(bool, visible);
    OpenAbout();
    QWidget* control = Child(*about_, name);
    QVERIFY(control != nullptr);
    if (kind == "PictureBox") {
        QVERIFY(dynamic_cast<PictureBox*>(control) != nullptr);
    } else {
        QCOMPARE(QByteArray(control->metaObject()->className()), kind);
    }
    QCOMPARE(control->geometry(), bounds);
    QCOMPARE(control->isVisible(), visible);
}

void AboutWindowTest::texts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("donation") << "HTMLabel1"
                              << QStringList{
                                     "<BLINK><B><A href=\"http://www.dastrel.example/\">Visitez mon site si "
                                     "vous voulez faire un don !</A></B></BLINK>"};
    QTest::newRow("thanks") << "HTMLabel2"
                            << QStringList{"Merci !<br>       <B><FONT color=\"#FF0000\"><A "
                                           "href=\"mailto:dastrel@dastrel.example\">Dastrel</A></FONT></B>"};
    QTest::newRow("notice")
        << "HTMLStaticText1"
        << QStringList{
               "<B>Velmora Version 1.0</B> est un logiciel gratuit.<br>",
               "Vous pouvez l'utiliser et le partager gratuitement.<br><br>",
               "Ce logiciel a coûté de nombreuses heures de temps libre ; si vous aimez Velmora et "
               "souhaitez montrer que vous appréciez mon travail, ",
               "soutenez-moi par un don.",
               "",
               "<br>",
               "<br>Graphismes de <b><A href=\"mailto:brisel@dastrel.example\"><FONT "
               "color=\"#FF0000\">Brisel</FONT></A></b> (Merci !!)",
           };
}

void AboutWindowTest::texts() {
    QFETCH(QString, name);
    QFETCH(QStringList, lines);
    const auto* control = qobject_cast<MarkupControl*>(Child(*about_, name));
    QVERIFY(control != nullptr);
    QCOMPARE(control->HTMLTextList(), lines);
}

void AboutWindowTest::labelSettings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    for (const char* label : {"HTMLabel1", "HTMLabel2"}) {
        const QByteArray row(label);
        QTest::newRow(row + " URLColor") << label << QByteArray("URLColor") << QVariant::fromValue(clRed);
        QTest::newRow(row + " ShadowOffset") << label << QByteArray("ShadowOffset") << QVariant(2);
        QTest::newRow(row + " Color") << label << QByteArray("Color") << QVariant::fromValue(clCaptionText);
    }
    QTest::newRow("static ShadowOffset") << "HTMLStaticText1" << QByteArray("ShadowOffset") << QVariant(1);
    QTest::newRow("static Color") << "HTMLStaticText1" << QByteArray("Color")
                                  << QVariant::fromValue(clCaptionText);
}

void AboutWindowTest::labelSettings() {
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QWidget* control = Child(*about_, name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->property(property.constData()), value);
}

void AboutWindowTest::clicksSwapTheLogoAndThePortrait_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("logoShown");
    QTest::newRow("nothing") << QStringList{} << true;
    QTest::newRow("logo") << QStringList{"Image1"} << false;
    QTest::newRow("logo, portrait") << QStringList{"Image1", "Image2"} << true;
    QTest::newRow("logo, portrait, logo") << QStringList{"Image1", "Image2", "Image1"} << false;
    QTest::newRow("right button on the logo") << QStringList{"Image1:right"} << true;
}

void AboutWindowTest::clicksSwapTheLogoAndThePortrait() {
    QFETCH(QStringList, clicks);
    QFETCH(bool, logoShown);
    OpenAbout();
    for (const QString& click : clicks) {
        QWidget* picture = Child(*about_, click.section(':', 0, 0));
        QVERIFY(picture->isVisible());
        QTest::mouseClick(picture, click.endsWith(":right") ? Qt::RightButton : Qt::LeftButton);
    }
    QCOMPARE(about_->Image1->isVisible(), logoShown);
    QCOMPARE(about_->Image2->isVisible(), !logoShown);
}

void AboutWindowTest::theAboutLinkDisablesTheMainWindowUntilOk() {
    ModalAnswerer user(main_.get());
    QTest::mouseClick(main_->Label2, Qt::LeftButton);
    QTRY_VERIFY(about_->isVisible());
    QVERIFY(!main_->isEnabled());

    // A disabled window turns the click down.
    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MousePress\" not accepted by receiving widget");
    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
    QTest::mouseClick(main_->Label3, Qt::LeftButton);
    QTest::qWait(150);
    QVERIFY(user.choosers.empty());

    QTest::mouseClick(about_->BitBtn1, Qt::LeftButton);
    QVERIFY(!about_->isVisible());
    QVERIFY(main_->isEnabled());
    QTest::mouseClick(main_->Label3, Qt::LeftButton);
    QTRY_COMPARE(int(user.choosers.size()), 1);
}

void AboutWindowTest::okActivatesTheMainWindowWhichReadsTheFlagAgain() {
    OpenAbout();
    QTRY_VERIFY(!main_->isActiveWindow());
    QVERIFY(!main_->CheckBox1->isChecked());
    WriteFile(work_->path() + "/config/velmora/velmora.conf", "associate=1\n");
    QTest::mouseClick(about_->BitBtn1, Qt::LeftButton);
    QTRY_VERIFY(main_->isActiveWindow());
    QTRY_VERIFY(main_->CheckBox1->isChecked());
}

void AboutWindowTest::keysOnTheOkButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << true;
    QTest::newRow("a letter") << int(Qt::Key_A) << false;
}

void AboutWindowTest::keysOnTheOkButton() {
    QFETCH(int, key);
    QFETCH(bool, closes);
    OpenAbout();
    QTRY_COMPARE(QApplication::focusWidget(), about_->BitBtn1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QTRY_COMPARE(about_->isVisible(), !closes);
    QCOMPARE(main_->isEnabled(), closes);
}

void AboutWindowTest::aWindowManagerCloseAlsoGivesTheMainWindowBack() {
    OpenAbout();
    QVERIFY(!main_->isEnabled());
    QVERIFY(about_->windowHandle()->close());
    QVERIFY(!about_->isVisible());
    QVERIFY(main_->isEnabled());
    // Hidden, not destroyed: the same window opens again.
    OpenAbout();
    QVERIFY(!main_->isEnabled());
}

void AboutWindowTest::reopeningShowsTheSameWindowAsItWasLeft() {
    OpenAbout();
    const TForm2* first = about_.get();
    QTest::mouseClick(about_->Image1, Qt::LeftButton);
    QTest::mouseClick(about_->BitBtn1, Qt::LeftButton);
    QVERIFY(!about_->isVisible());

    QTest::mouseClick(main_->Label2, Qt::LeftButton);
    QTRY_VERIFY(about_->isVisible());
    QCOMPARE(main_->Form2.data(), first);
    QVERIFY(!about_->Image1->isVisible());
    QVERIFY(about_->Image2->isVisible());
    QVERIFY(!main_->isEnabled());
}

void AboutWindowTest::centredOverTheMainWindowEachTimeItIsShown() {
    QStringList offCentre;
    for (const QPoint mainAt : {QPoint(40, 30), QPoint(300, 200)}) {
        main_->move(mainAt);
        OpenAbout();
        const QPoint offset = about_->frameGeometry().center() - main_->frameGeometry().center();
        if (offset.manhattanLength() > 1) {
            offCentre << QString("over (%1, %2): off by %3, %4")
                             .arg(mainAt.x())
                             .arg(mainAt.y())
                             .arg(offset.x())
                             .arg(offset.y());
        }
        QTest::mouseClick(about_->BitBtn1, Qt::LeftButton);
    }
    QVERIFY2(offCentre.isEmpty(), qPrintable(offCentre.join("; ")));
}

void AboutWindowTest::links_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("offTheLink");
    QTest::newRow("donation") << "HTMLabel1"
                              << "http://www.dastrel.example/" << QPoint(295, 8);
    QTest::newRow("author") << "HTMLabel2"
                            << "mailto:dastrel@dastrel.example" << QPoint(8, 6);
    QTest::newRow("graphics") << "HTMLStaticText1"
                              << "mailto:brisel@dastrel.example" << QPoint(8, 8);
}

void AboutWindowTest::links() {
    QFETCH(QString, name);
    QFETCH(QString, target);
    QFETCH(QPoint, offTheLink);
    OpenAbout();
    QWidget* control = Child(*about_, name);
    QPoint at;
    if (auto* label = qobject_cast<THTMLabel*>(control)) {
        at = AnchorPoint(*label, target.toStdString());
    } else {
        at = AnchorPoint(*qobject_cast<THTMLStaticText*>(control), target.toStdString());
    }
    QVERIFY2(!at.isNull(), "the link is nowhere in the control");

    QTest::mouseClick(control, Qt::LeftButton, {}, offTheLink);
    QTest::qWait(50);
    QVERIFY(opened_.empty());
    QTest::mouseClick(control, Qt::LeftButton, {}, at);
    QTRY_COMPARE(int(opened_.size()), 1);
    QCOMPARE(QString::fromStdString(opened_.front()), target);
}

void AboutWindowTest::rendering() {
    OpenAbout();
    QImage shown = about_->grab().toImage();
    QCOMPARE(shown.size(), QSize(324, 310));

    // The logo at its own size from Image1's corner, its red ball at the lower left.
    const QImage logo = LoadJpegResource(":/images/about-logo.jpg");
    const QStringList logoMisses =
        PixelsNotShown(shown, QPoint(96, 8), logo, {{64, 40}, {20, 64}, {100, 100}});
    QVERIFY2(logoMisses.isEmpty(), qPrintable(logoMisses.join("; ")));
    const RedInk ball = RedInkIn(shown, QRect(96, 8 + 64, 64, 121 - 64));
    QVERIFY2(ball.count > 40, qPrintable(QString::number(ball.count)));
    QVERIFY(RedInkIn(shown, QRect(96 + 64, 8, 137 - 64, 64)).count == 0);

    // The donation link: one red run across most of its label.
    const RedInk donation = RedInkIn(shown, QRect(16, 256, 297, 17));
    QVERIFY2(donation.bounds.left() < 40 && donation.bounds.width() > 200,
             qPrintable(QString("%1 wide from %2").arg(donation.bounds.width()).arg(donation.bounds.left())));
    // Bold: more ink than the same link drawn in the regular weight.
    THTMLabel regular;
    regular.resize(297, 17);
    regular.SetColor(clCaptionText);
    regular.SetURLColor(clRed);
    const std::vector<std::string> plain{
        "<A href=\"http://www.dastrel.example/\">Visitez mon site si vous voulez faire un don !</A>"};
    regular.SetHTMLText(&plain);
    const RedInk regularInk = RedInkIn(regular.grab().toImage(), QRect(0, 0, 297, 17));
    QVERIFY2(regularInk.count > 0 && donation.count * 10 > regularInk.count * 12,
             qPrintable(QString("bold %1, regular %2").arg(donation.count).arg(regularInk.count)));

    // "Thank you !" is not red; the author's name below it is.
    QCOMPARE(RedInkIn(shown, QRect(248, 272, 65, 13)).count, 0);
    QVERIFY(RedInkIn(shown, QRect(248, 272 + 13, 65, 20)).count > 20);
    // Only the graphics credit is red in the notice, on its last line.
    const RedInk credit = RedInkIn(shown, QRect(8, 144, 313, 105));
    QVERIFY(credit.count > 20);
    QVERIFY2(credit.bounds.top() > 144 + 70, qPrintable(QString::number(credit.bounds.top())));

    QTest::mouseClick(about_->Image1, Qt::LeftButton);
    shown = about_->grab().toImage();
    const QImage portrait = LoadJpegResource(":/images/about-portrait.jpg");
    const QStringList portraitMisses = PixelsNotShown(shown, QPoint(112, 8), portrait, {{53, 20}, {53, 120}});
    QVERIFY2(portraitMisses.isEmpty(), qPrintable(portraitMisses.join("; ")));
    QCOMPARE(RedInkIn(shown, QRect(96, 8, 137, 121)).count, 0);
}

void AboutWindowTest::theDonationDoesNotBlink() {
    OpenAbout();
    const QImage before = about_->HTMLabel1->grab().toImage();
    QVERIFY(RedInkIn(before, before.rect()).count > 0);
    for (int step = 0; step < 3; ++step) {
        QTest::qWait(400);
        QCOMPARE(about_->HTMLabel1->grab().toImage(), before);
    }
}

} // namespace velmora
