#include "RealDesktopTest.h"

#include "ShellTestSupport.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
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
        QProcess::execute("xdotool", {"key", "Down", "Return"});
    });
    answer.start(50);
    QVERIFY(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(main_->winId())}) == 0);
    QListWidget* list = main_->ListView1;
    const QPoint onRow = list->viewport()->mapToGlobal(list->visualItemRect(list->item(0)).center());
    QVERIFY(QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(onRow.x()),
                                          QString::number(onRow.y()), "click", "3"}) == 0);
    QTRY_COMPARE(offered, QStringList{"Restore original"});
    QTRY_COMPARE(ReadFile(sheet), original);
    QVERIFY(!QFile::exists(sheet + ".bak"));
}

} // namespace velmora
