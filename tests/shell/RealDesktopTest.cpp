#include "RealDesktopTest.h"

#include "../messages/ScopedLanguage.h"
#include "ShellTestSupport.h"
#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "platform/desktop/ShellOpen.h"
#include "shell/LinkLabel.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
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

// One character drawn alone through the canvas, in the control's font, as UTF-8.
QImage DrawnAlone(const FontState& controlFont, char32_t character) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    FontState font = controlFont;
    font.Color = clBlack;
    font.Encoding = TextEncoding::Utf8;
    canvas.SetFont(font);
    canvas.SetBrushColor(clNone);
    const QByteArray text = QString::fromUcs4(&character, 1).toUtf8();
    Rect rect{4, 4, 36, 36};
    canvas.DrawText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), rect,
                    DT_SINGLELINE | DT_NOPREFIX);
    painter.end();
    return image;
}

// The characters of the control's text that no font on this desktop draws: each must leave ink, and
// not the ink of a character that no font has (the empty box).
QString CharactersDrawnAsBoxes(const MarkupControl& control) {
    const QImage box = DrawnAlone(control.Font(), U'\U0010FFFD');
    const QImage blank = DrawnAlone(control.Font(), U' ');
    QString boxes;
    for (const char32_t c : FromText(control.PlainText(), control.Encoding()).toUcs4()) {
        if (c < 0x80 || QChar::isSpace(c)) {
            continue;
        }
        const QImage drawn = DrawnAlone(control.Font(), c);
        if (drawn == box || drawn == blank) {
            boxes += QString::fromUcs4(&c, 1);
        }
    }
    return boxes;
}

bool Xdotool(const QStringList& arguments) {
    return QProcess::execute("xdotool", arguments) == 0;
}

// What xdotool printed, one window a line for a search; empty when it found nothing.
QStringList XdotoolLines(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    if (!xdotool.waitForFinished(30000)) {
        return {};
    }
    return QString::fromUtf8(xdotool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The windows of the program that show on the desktop, its menus included (they name no process).
qsizetype ShownProgramWindows() {
    return XdotoolLines({"search", "--onlyvisible", "--class", "^velmora$"}).size();
}

// The first shown window of the process whose title matches `title`, waiting for it to show.
QString ShownWindow(const QString& pid, const QString& title) {
    const QStringList found =
        XdotoolLines({"search", "--sync", "--all", "--onlyvisible", "--pid", pid, "--name", title});
    return found.isEmpty() ? QString() : found.front();
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
    bool chose = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        // The keys are sent once: on a loaded desktop the menu can still show when the timer fires
        // again, and a second Return would open a second box inside the first.
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            menu && menu->isVisible() && !chose) {
            chose = true;
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

void RealDesktopTest::theAboutWindowSpeaksTheUsersLanguage_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("donation");
    for (const auto& [language, lang] : {std::pair{"ja", "ja_JP.UTF-8"}, std::pair{"ru", "ru_RU.UTF-8"}}) {
        for (const DonationLine& line : kDonationLines) {
            if (QString(line.Language) == language) {
                QTest::newRow(line.Name) << lang << line.Text;
            }
        }
    }
}

// The About window in the user's language, as its own window on a real desktop: its texts arrive
// whole, every character of them is drawn by some font, and its links still open.
void RealDesktopTest::theAboutWindowSpeaksTheUsersLanguage() {
    QFETCH(QString, lang);
    QFETCH(QString, donation);
    const ScopedLanguage scoped({{"LANG", lang.toStdString()}});
    std::vector<std::string> opened;
    RecordShellOpens(opened);
    TForm2 about(main_.get());
    main_->Form2 = &about;
    main_->Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    const std::vector<const MarkupControl*> controls{about.HTMLStaticText1, about.HTMLabel1, about.HTMLabel2};
    for (const MarkupControl* control : controls) {
        const QString text = FromText(control->PlainText(), control->Encoding());
        QVERIFY2(!text.contains('?') && !text.contains(QChar(0xFFFD)), qPrintable(text));
        const QString boxes = CharactersDrawnAsBoxes(*control);
        QVERIFY2(boxes.isEmpty(), qPrintable(control->objectName() + ": " + boxes));
    }
    QCOMPARE(FromText(about.HTMLabel1->PlainText(), about.HTMLabel1->Encoding()), donation);

    // The donation link is drawn red across its label, in the window as the window manager shows it.
    const QImage shown = about.grab().toImage();
    QRect red;
    for (int y = 256; y < 256 + 17; ++y) {
        for (int x = 16; x < 16 + 297; ++x) {
            const QRgb pixel = shown.pixel(x, y);
            if (qRed(pixel) > 190 && qGreen(pixel) < 90 && qBlue(pixel) < 90) {
                red |= QRect(x, y, 1, 1);
            }
        }
    }
    QVERIFY2(red.width() > 120, qPrintable(QString::number(red.width())));

    QPoint link;
    for (int x = 0; x < about.HTMLabel1->width() && link.isNull(); ++x) {
        if (about.HTMLabel1->AnchorAt(x, 8).Anchor == "http://www.dastrel.example/") {
            link = QPoint(x + 4, 8);
        }
    }
    QVERIFY(!link.isNull());
    QTest::mouseClick(about.HTMLabel1, Qt::LeftButton, {}, link);
    QTRY_COMPARE(int(opened.size()), 1);
    QCOMPARE(opened.front(), std::string("http://www.dastrel.example/"));
    QTest::mouseClick(about.BitBtn1, Qt::LeftButton);
    main_->Form2 = about_.get();
    SetShellOpenHandler({});
}

void RealDesktopTest::restoreOriginalInTheRealProgramKeepsAnEditedSheet_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("left");
    QTest::newRow("edited after its repair") << true << "album.cue, album.cue.bak, album.cue.moves, song.mp3";
    QTest::newRow("as its repair left it") << false << "album.cue, song.mp3";
}

// "Restore original" in the real program, chosen with the real pointer and keys: a sheet edited after its
// repair holds the user's newest text, so a warning shows and the sheet, its backup and its record stay;
// a sheet as its repair left it comes back, with no box.
void RealDesktopTest::restoreOriginalInTheRealProgramKeepsAnEditedSheet() {
    QFETCH(bool, edited);
    QFETCH(QString, left);
    const QString folder = work_->path() + "/sheets";
    const QString sheet = CarriedAudioSheet(folder, "album.cue");
    const QByteArray original = ReadFile(sheet);
    const QString runtime = work_->path() + "/runtime";
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        environment.remove(name);
    }
    environment.insert("LANG", "C.UTF-8");
    environment.insert("XDG_RUNTIME_DIR", runtime);
    QProcess velmora;
    velmora.setProcessEnvironment(environment);
    velmora.start(VELMORA_PROGRAM, {sheet});
    QVERIFY(velmora.waitForStarted());
    const auto stop = qScopeGuard([&velmora] {
        velmora.kill();
        velmora.waitForFinished();
    });
    const QString pid = QString::number(velmora.processId());
    const QString mainWindow = ShownWindow(pid, "^Velmora ");
    QVERIFY(!mainWindow.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sheet + ".moves") && ReadFile(sheet) != original, 30000);
    // The row is added once the run has ended, just after its last write.
    QTest::qWait(1000);
    if (edited) {
        WriteFile(sheet, ReadFile(sheet) + "REM COMMENT \"edited by hand\"\n");
    }
    const QByteArray before = ReadFile(sheet);

    const qsizetype windows = ShownProgramWindows();
    QVERIFY(Xdotool({"windowactivate", "--sync", mainWindow}));
    // The first row's middle; the list lies at (0,144) in the window, 492 pixels wide.
    QVERIFY(Xdotool({"mousemove", "--window", mainWindow, "246", "152", "click", "3"}));
    QTRY_VERIFY(ShownProgramWindows() > windows);
    QVERIFY(Xdotool({"key", "Down", "Down", "Return"}));
    if (edited) {
        const QString box = ShownWindow(pid, "^Warning$");
        QVERIFY(!box.isEmpty());
        // Its words are read in MainWindowTest: another process's box shows them to no test here.
        QVERIFY(Xdotool({"windowactivate", "--sync", box}));
        QVERIFY(Xdotool({"key", "Return"}));
        QTRY_COMPARE(ShownProgramWindows(), windows);
        QCOMPARE(ReadFile(sheet), before);
        QCOMPARE(ReadFile(sheet + ".bak"), original);
    } else {
        QTRY_COMPARE(ReadFile(sheet), original);
        QTRY_COMPARE(ShownProgramWindows(), windows);
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).join(", "), left);
}

} // namespace velmora
