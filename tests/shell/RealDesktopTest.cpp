#include "RealDesktopTest.h"

#include "ShellTestSupport.h"
#include "shell/LinkLabel.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QWindow>
#include <QtTest>

namespace velmora {

using namespace testkit;

namespace {

// One property of a window as the window manager and other clients read it.
QString WindowProperty(const QWidget& window, const char* name) {
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window.winId()), name});
    if (!xprop.waitForFinished(10000)) {
        return {};
    }
    return QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
}

bool Framed(const QWidget& window) {
    return window.windowHandle() != nullptr && !window.windowHandle()->frameMargins().isNull();
}

// Off by at most a pixel: odd frame sizes have no exact centre.
bool CentredOn(const QWidget& window, QPoint centre) {
    return (window.frameGeometry().center() - centre).manhattanLength() <= 1;
}

QString Where(const QWidget& window, QPoint centre) {
    const QPoint offset = window.frameGeometry().center() - centre;
    const QMargins m = window.windowHandle()->frameMargins();
    return QString("margins %7 %8 %9 %10 frame %1,%2 %3x%4, off by %5, %6")
        .arg(window.frameGeometry().x())
        .arg(window.frameGeometry().y())
        .arg(window.frameGeometry().width())
        .arg(window.frameGeometry().height())
        .arg(offset.x())
        .arg(offset.y())
        .arg(m.left())
        .arg(m.top())
        .arg(m.right())
        .arg(m.bottom());
}

} // namespace

RealDesktopTest::RealDesktopTest() = default;
RealDesktopTest::~RealDesktopTest() = default;

void RealDesktopTest::init() {
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    UsePrivateDesktopFolders(work_->path());
    main_ = std::make_unique<TForm1>(std::nullopt);
    about_ = std::make_unique<TForm2>(main_.get());
    main_->Form2 = about_.get();
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    QTRY_VERIFY(Framed(*main_));
}

void RealDesktopTest::cleanup() {
    about_.reset();
    main_.reset();
    work_.reset();
}

void RealDesktopTest::OpenAbout() {
    main_->Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    QTRY_VERIFY(Framed(*about_));
}

void RealDesktopTest::theMainWindowIsCentredByItsFrame() {
    const QPoint centre = main_->screen()->availableGeometry().center();
    QTRY_VERIFY2(CentredOn(*main_, centre), qPrintable(Where(*main_, centre)));
    QVERIFY(main_->frameGeometry().height() > main_->height());
}

// The frame is unknown before the first showing and known afterwards: both
// showings must end at the same place.
void RealDesktopTest::theAboutWindowIsCentredByItsFrameEveryTime() {
    QPoint first;
    for (int showing = 1; showing <= 3; ++showing) {
        OpenAbout();
        const QPoint centre = main_->frameGeometry().center();
        QTRY_VERIFY2(CentredOn(*about_, centre), qPrintable(Where(*about_, centre)));
        if (showing == 1) {
            first = about_->frameGeometry().topLeft();
        }
        QCOMPARE(about_->frameGeometry().topLeft(), first);
        QTest::mouseClick(about_->BitBtn1, Qt::LeftButton);
        QTRY_VERIFY(!about_->isVisible());
    }
}

void RealDesktopTest::theAboutWindowIsAModalDialogOfTheMainWindow() {
    OpenAbout();
    const QString transient = WindowProperty(*about_, "WM_TRANSIENT_FOR");
    bool read = false;
    const qulonglong owner = transient.section('#', 1).trimmed().toULongLong(&read, 16);
    QVERIFY2(read, qPrintable(transient));
    QCOMPARE(owner, qulonglong(main_->winId()));
    QVERIFY(WindowProperty(*about_, "_NET_WM_WINDOW_TYPE").contains("_NET_WM_WINDOW_TYPE_DIALOG"));
    QVERIFY(WindowProperty(*about_, "_NET_WM_STATE").contains("_NET_WM_STATE_MODAL"));
    // Neither a minimise nor a close button: OK or Escape close it.
    const QString motif = WindowProperty(*about_, "_MOTIF_WM_HINTS");
    const QStringList fields = motif.section('=', 1).split(',');
    QVERIFY2(fields.size() >= 2, qPrintable(motif));
    const uint functions = fields[1].trimmed().toUInt(nullptr, 16);
    QCOMPARE(functions & 0x18u, 0u); // minimise 0x8, maximise 0x10
}

// A minimised About window alone would leave a main window that takes no
// clicks on screen: the two go down and come back together.
void RealDesktopTest::minimisingTheAboutWindowTakesTheMainWindowAlong() {
    OpenAbout();
    about_->showMinimized();
    QTRY_VERIFY(WindowProperty(*main_, "WM_STATE").contains("Iconic"));
    // As a task bar brings the main window back.
    QVERIFY(QProcess::execute("xdotool", {"windowactivate", QString::number(main_->winId())}) == 0);
    QTRY_VERIFY(WindowProperty(*main_, "WM_STATE").contains("Normal"));
    QTRY_VERIFY2(WindowProperty(*about_, "WM_STATE").contains("Normal"),
                 qPrintable(WindowProperty(*about_, "WM_STATE")));
    QTRY_VERIFY(about_->isVisible());
    QVERIFY(!main_->isEnabled());
}

// Maximised, the About window was a white screen with its controls in a corner.
void RealDesktopTest::theWindowManagerOffersTheAboutWindowNoMaximisingOrResizing() {
    OpenAbout();
    QTRY_VERIFY(WindowProperty(*about_, "_NET_WM_ALLOWED_ACTIONS").contains("_NET_WM_ACTION_MOVE"));
    const QString allowed = WindowProperty(*about_, "_NET_WM_ALLOWED_ACTIONS");
    for (const char* action :
         {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"}) {
        QVERIFY2(!allowed.contains(action), qPrintable(allowed));
    }
}

// The main window stays disabled while the About window is open, yet a click on it makes it the active
// window: the keyboard must come back to the About window at once, as the real keys show.
void RealDesktopTest::aClickOnTheMainWindowGivesTheKeyboardBackToTheAboutWindow() {
    OpenAbout();
    QTRY_VERIFY(about_->isActiveWindow());
    const QRect frame = main_->frameGeometry();
    const QPoint outsideAbout(frame.left() + 30, frame.center().y());
    QVERIFY(!about_->frameGeometry().contains(outsideAbout));
    QVERIFY(QProcess::execute("xdotool", {"mousemove", QString::number(outsideAbout.x()),
                                          QString::number(outsideAbout.y()), "click", "1"}) == 0);
    QTRY_VERIFY(about_->isActiveWindow());
    QVERIFY(QProcess::execute("xdotool", {"key", "Escape"}) == 0);
    QTRY_VERIFY(!about_->isVisible());
    QVERIFY(main_->isEnabled());
}

// A right click with the real pointer, and the menu answered with the real keyboard.
void RealDesktopTest::aRightClickOnARowOffersToRestoreItsSheet() {
    const QString sheet = work_->path() + "/album.cue";
    WriteFile(sheet,
              "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"song.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 0:2:0\n");
    WriteFile(work_->path() + "/song.mp3", "audio");
    const QByteArray original = ReadFile(sheet);
    DropFiles(*main_, {sheet});
    QTRY_COMPARE(Rows(*main_), QStringList{"album.cue => CORRECTED"});
    QVERIFY(ReadFile(sheet) != original);

    QStringList offered;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible() || !offered.isEmpty()) {
            return;
        }
        for (const QAction* action : menu->actions()) {
            offered << action->text();
        }
        QProcess::execute("xdotool", {"key", "Down", "Down", "Return"});
    });
    answer.start(50);
    QVERIFY(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(main_->winId())}) == 0);
    QListWidget* list = main_->ListView1;
    const QPoint onRow = list->viewport()->mapToGlobal(list->visualItemRect(list->item(0)).center());
    QVERIFY(QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(onRow.x()),
                                          QString::number(onRow.y()), "click", "3"}) == 0);
    QTRY_COMPARE(offered, (QStringList{"Détails", "Restaurer l'original"}));
    QTRY_COMPARE(ReadFile(sheet), original);
    QVERIFY(!QFile::exists(sheet + ".bak"));
}

void RealDesktopTest::bothWindowsKeepTheirLightLookUnderEveryStyle_data() {
    QTest::addColumn<QString>("style");
    for (const char* style : {"", "Fusion", "Adwaita", "Adwaita-Dark"}) {
        QTest::newRow(*style != '\0' ? style : "the desktop's default") << style;
    }
}

// Dark desktop styles draw buttons and check boxes in colours of their own: the windows must not take
// them beside their white. Text stands out at 4.5:1 at least, focus frames at 3:1, captions show whole.
void RealDesktopTest::bothWindowsKeepTheirLightLookUnderEveryStyle() {
    QFETCH(QString, style);
    const QString previous = QApplication::style()->name();
    const QPalette previousPalette = QApplication::palette();
    if (!style.isEmpty()) {
        QVERIFY2(QStyleFactory::keys().contains(style, Qt::CaseInsensitive),
                 qPrintable(QStyleFactory::keys().join(", ")));
        QApplication::setStyle(style);
    }
    const auto restore = qScopeGuard([&] {
        QApplication::setStyle(previous);
        QApplication::setPalette(previousPalette);
    });
    TForm1 main(std::nullopt);
    TForm2 about(&main);
    main.Form2 = &about;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    QVERIFY2(TextContrast(about.BitBtn1->grab().toImage()) >= 4.5, "the OK button's text");
    QVERIFY2(TextContrast(main.CheckBox1->grab().toImage()) >= 4.5, "the check box's caption");
    QStyleOptionButton option;
    option.initFrom(main.CheckBox1);
    const QRect square =
        main.CheckBox1->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, main.CheckBox1);
    const QRgb inside = main.CheckBox1->grab().toImage().pixel(square.center());
    QVERIFY2(ContrastRatio(inside, qRgb(255, 255, 255)) < 1.5, "the check box square is light");
    const int needed = main.CheckBox1->fontMetrics().horizontalAdvance(main.CheckBox1->text());
    QVERIFY(needed <= main.CheckBox1->style()
                          ->subElementRect(QStyle::SE_CheckBoxContents, &option, main.CheckBox1)
                          .width());

    about.BitBtn1Click();
    QTRY_VERIFY(main.isEnabled());
    main.Label3->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(main.Label3->hasFocus());
    const QImage link = main.Label3->grab().toImage();
    QVERIFY2(ContrastRatio(link.pixel(0, link.height() / 2), qRgb(255, 255, 255)) >= 3, "the focus frame");
}

// The keyboard's way to what the tool tip tells: Tab to the row, the menu key, "Details".
void RealDesktopTest::theKeyboardOpensARowsDetails() {
    const QString sheet = work_->path() + "/album.cue";
    WriteFile(sheet,
              "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"song.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 0:2:0\n");
    WriteFile(work_->path() + "/song.mp3", "audio");
    DropFiles(*main_, {sheet});
    QTRY_COMPARE(Rows(*main_), QStringList{"album.cue => CORRECTED"});
    const QString reasons = main_->ListView1->item(0)->toolTip();
    QVERIFY(reasons.contains('\n'));

    QString shown;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); menu && menu->isVisible()) {
            QProcess::execute("xdotool", {"key", "Down", "Return"});
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                   box && shown.isEmpty()) {
            shown = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answer.start(50);
    QVERIFY(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(main_->winId())}) == 0);
    QTRY_VERIFY(main_->isActiveWindow());
    main_->ListView1->setFocus(Qt::TabFocusReason);
    QVERIFY(QProcess::execute("xdotool", {"key", "shift+F10"}) == 0);
    QTRY_COMPARE(shown, reasons);
}

} // namespace velmora
