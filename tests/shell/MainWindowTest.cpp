#include "MainWindowTest.h"

#include "ShellTestSupport.h"
#include "messages/Messages.h"
#include "shell/ErrorBox.h"
#include "shell/LinkLabel.h"
#include "shell/PictureBox.h"
#include "shell/Unit1.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>
#include <cerrno>

namespace velmora {

using namespace testkit;

namespace {

QStringList Texts(const std::vector<SeenBox>& boxes) {
    QStringList texts;
    for (const SeenBox& box : boxes) {
        texts << box.text;
    }
    return texts;
}

// Lets queued work (posted drops, runs queued behind others) finish: nothing
// may arrive after the state the test waited for.
void Settle() {
    QTest::qWait(150);
}

QString Prepare(const QString& folder, const QString& entry) {
    const QString kind = entry.section(':', 0, 0);
    const QString name = entry.section(':', 1);
    if (kind == "good") {
        return GoodImageSheet(folder, name);
    }
    if (kind == "carried") {
        return CarriedAudioSheet(folder, name);
    }
    if (kind == "broken") {
        return BrokenTimeAudioSheet(folder, name);
    }
    if (kind == "link") {
        // A link beside the sheet it names, which lies in a folder of its own with its audio.
        CarriedAudioSheet(folder + "/real", name);
        QFile::link("real/" + name, folder + "/" + name);
        return folder + "/" + name;
    }
    if (kind == "folder") {
        QDir().mkpath(folder + "/" + name);
        return folder + "/" + name;
    }
    if (kind == "text") {
        WriteFile(folder + "/" + name, "notes");
    }
    if (kind == "missing-image") {
        return MissingImageSheet(folder, name);
    }
    if (kind == "cyrillic") {
        // "альбом.wav" in Windows-1251.
        WriteFile(folder + "/" + name,
                  "PERFORMER \"\xc0\xf0\xf2\xe8\xf1\xf2\"\r\nTITLE \"\xc0\xeb\xfc\xe1\xee\xec\"\r\n"
                  "FILE \"\xe0\xeb\xfc\xe1\xee\xec.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n"
                  "    INDEX 01 00:00:00\r\n");
        return folder + "/" + name;
    }
    if (kind == "wav") {
        WriteFile(folder + "/" + name, "PERFORMER \"Artist\"\r\nTITLE \"Album\"\r\nFILE \"album.wav\" "
                                       "WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n");
        return folder + "/" + name;
    }
    return folder + "/" + name;
}

} // namespace

void MainWindowTest::init() {
    FailOnQtWarnings();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    UsePrivateDesktopFolders(Folder());
}

void MainWindowTest::cleanup() {
    work_.reset();
}

std::unique_ptr<TForm1> MainWindowTest::MakeForm(std::optional<std::string> commandLineSheet) {
    return std::make_unique<TForm1>(std::move(commandLineSheet));
}

void MainWindowTest::Drop(TForm1& form, const QStringList& paths) {
    DropFiles(form, paths);
}

void MainWindowTest::windowIsLaidOutAsDesigned() {
    auto form = MakeForm();
    QCOMPARE(form->size(), QSize(492, 323));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(form->windowTitle(), QString("Velmora Version 1.0 - www.dastrel.example"));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(form->font().pixelSize(), 11);
    QCOMPARE(form->Image1->Picture().size(), QSize(502, 287));
    QVERIFY(form->StatusBar1->findChild<QLabel*>()->text() == "www.dastrel.example");
}

void MainWindowTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("hint") << "Label1"
                          << "Glissez-déposez vos fichiers .cue ici";
    QTest::newRow("about") << "Label2"
                           << "À propos";
    QTest::newRow("open link") << "Label3"
                               << "Ouvrir un fichier Cue";
    QTest::newRow("check box") << "CheckBox1"
                               << "Associer l'extension .cue à Velmora";
    QTest::newRow("result list") << "ListView1"
                                 << "";
    QTest::newRow("progress") << "ProgressBar1"
                              << "";
}

void MainWindowTest::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto form = MakeForm();
    auto* control = form->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    // A text that nothing covers shows whole: inside the window, with room for every letter.
    if (!text.isEmpty() && form->childAt(control->geometry().center()) == control) {
        QVERIFY(form->rect().contains(control->geometry()));
        QRect room = control->contentsRect();
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            QStyleOptionButton option;
            option.initFrom(box);
            room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        }
        const int needed = control->fontMetrics().horizontalAdvance(text);
        QVERIFY2(needed <= room.width(),
                 qPrintable(QString("%1 needs %2 pixels of %3").arg(text).arg(needed).arg(room.width())));
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        QCOMPARE(box->text(), text);
    }
    if (auto* link = dynamic_cast<LinkLabel*>(control)) {
        QVERIFY(link->font().bold());
        QVERIFY(link->font().underline());
        QCOMPARE(link->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }
}

void MainWindowTest::bannerLiesOverTheHintAndTheListOverTheBanner() {
    auto form = MakeForm();
    QCOMPARE(form->childAt(100, 100), form->Image1);
    QVERIFY(form->ListView1->isAncestorOf(form->childAt(100, 200)));
    QCOMPARE(form->childAt(300, 260), form->ProgressBar1);
    QCOMPARE(form->childAt(340, 285), form->Label3);
    QCOMPARE(form->childAt(20, 285), form->CheckBox1);
}

void MainWindowTest::bannerIsDrawnFromItsCornerAtItsOwnSize_data() {
    QTest::addColumn<QPoint>("window");
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("in the logo") << QPoint(44, 38);
    QTest::newRow("in the name") << QPoint(130, 30);
    QTest::newRow("in the hint") << QPoint(150, 105);
    QTest::newRow("right edge") << QPoint(491, 10);
    QTest::newRow("last row above the list") << QPoint(250, 143);
}

// The banner box starts 8 pixels left of the window, so window pixel (x, y)
// shows banner pixel (x + 8, y).
void MainWindowTest::bannerIsDrawnFromItsCornerAtItsOwnSize() {
    QFETCH(QPoint, window);
    auto form = MakeForm();
    const QImage shown = form->grab().toImage();
    const QRgb expected = form->Image1->Picture().pixel(window + QPoint(8, 0));
    QCOMPARE(QColor(shown.pixel(window)), QColor(expected));
}

void MainWindowTest::programTitle_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "/usr/bin/velmora"
                           << "velmora";
    QTest::newRow("capital kept, rest lowered") << "/opt/VELMORA"
                                                << "Velmora";
    QTest::newRow("cut at the first dot") << "/opt/Velmora.Beta.exe"
                                          << "Velmora";
    QTest::newRow("dot in the folder") << "/opt/v1.0/repair.bin"
                                       << "repair";
    QTest::newRow("name starting with a dot") << "/opt/.hidden"
                                              << "";
}

void MainWindowTest::programTitle() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ProgramTitle(path), title);
}

void MainWindowTest::drops_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("one sheet") << QStringList{"good:a.cue"} << QStringList{"a.cue => GOOD"} << QStringList{};
    QTest::newRow("three sheets in the drop's order")
        << QStringList{"good:c.cue", "carried:a.cue", "good:b.cue"}
        << QStringList{"c.cue => GOOD", "a.cue => CORRECTED", "b.cue => GOOD"} << QStringList{};
    QTest::newRow("a link to a sheet")
        << QStringList{"link:a.cue"} << QStringList{"a.cue => CORRECTED"} << QStringList{};
    QTest::newRow("a folder") << QStringList{"folder:albums"} << QStringList{}
                              << QStringList{"albums n'est pas un CUE valide"};
    QTest::newRow("not a sheet, then a sheet")
        << QStringList{"text:notes.txt", "good:a.cue"} << QStringList{"a.cue => GOOD"}
        << QStringList{"notes.txt n'est pas un CUE valide"};
    QTest::newRow("an error first stops the drop")
        << QStringList{"broken:bad.cue", "good:a.cue", "good:b.cue"} << QStringList{}
        << QStringList{"'ab' n'est pas une valeur entière correcte."};
    QTest::newRow("an error in the middle stops the rest")
        << QStringList{"good:a.cue", "broken:bad.cue", "good:b.cue"} << QStringList{"a.cue => GOOD"}
        << QStringList{"'ab' n'est pas une valeur entière correcte."};
}

void MainWindowTest::drops() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, boxes);
    QStringList paths;
    for (const QString& entry : entries) {
        paths << Prepare(Folder(), entry);
    }
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    Drop(*form, paths);
    QTRY_COMPARE(Rows(*form).size(), rows.size());
    QTRY_COMPARE(int(user.boxes.size()), int(boxes.size()));
    Settle();
    QCOMPARE(Rows(*form), rows);
    QCOMPARE(Texts(user.boxes), boxes);
    QVERIFY(!form->State().RunInProgress);
}

void MainWindowTest::aLongDroppedPathIsTakenWhole() {
    QString folder = Folder();
    while (folder.size() < 300) {
        folder += "/a-rather-long-folder-name";
    }
    const QString sheet = GoodImageSheet(folder, "album.cue");
    QVERIFY(sheet.size() > 255);
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    Drop(*form, {sheet});
    QTRY_COMPARE(Rows(*form), QStringList{"album.cue => GOOD"});
    QVERIFY(user.boxes.empty());
}

void MainWindowTest::aDropDuringARunWaitsForIt() {
    const QString first = CarriedAudioSheet(Folder() + "/one", "first.cue");
    const QString second = GoodImageSheet(Folder() + "/two", "second.cue");
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    bool droppedDuringRun = false;
    int rowsWhenDropped = -1;
    QObject scope;
    // Halfway through the first run's progress animation, which pumps events.
    connect(form->ProgressBar1, &QProgressBar::valueChanged, &scope, [&](int value) {
        if (value != 50 || rowsWhenDropped >= 0) {
            return;
        }
        droppedDuringRun = form->State().RunInProgress;
        rowsWhenDropped = form->ListView1->count();
        Drop(*form, {second});
    });
    Drop(*form, {first});
    QTRY_COMPARE(Rows(*form).size(), 2);
    QVERIFY(droppedDuringRun);
    QCOMPARE(rowsWhenDropped, 0);
    QCOMPARE(Rows(*form), (QStringList{"first.cue => CORRECTED", "second.cue => GOOD"}));
    QCOMPARE(form->State().CuePath, second.toStdString());
    QVERIFY(user.boxes.empty());
}

void MainWindowTest::errorsShowTheStandardBoxAndEnableTheLinkAgain() {
    const QString missing = Folder() + "/gone.cue";
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    Drop(*form, {missing});
    QTRY_COMPARE(int(user.boxes.size()), 1);
    const SeenBox& box = user.boxes[0];
    QCOMPARE(box.title, ProgramTitle(QCoreApplication::applicationFilePath()));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.text, "Impossible d'ouvrir le fichier \"" + missing + "\". " +
                           QString::fromStdString(SystemErrorText(ENOENT)) + ".");
    QVERIFY(form->Label3->isEnabled());
    QVERIFY(Rows(*form).isEmpty());

    const QString good = GoodImageSheet(Folder(), "after.cue");
    Drop(*form, {good});
    QTRY_COMPARE(Rows(*form), QStringList{"after.cue => GOOD"});
}

void MainWindowTest::aHandedOverPathEndsAtItsFirstNul() {
    const std::string sheet = GoodImageSheet(Folder(), "a.cue").toStdString();
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    int rowsWhenDone = -1;
    form->HandOverMessage(sheet + std::string("\0.txt", 5), [&] { rowsWhenDone = form->ListView1->count(); });
    QCOMPARE(rowsWhenDone, 1);
    QCOMPARE(Rows(*form), QStringList{"a.cue => GOOD"});
    QCOMPARE(form->State().CuePath, sheet);
}

void MainWindowTest::openLink_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("chosen") << false;
    QTest::newRow("cancelled") << true;
}

void MainWindowTest::openLink() {
    QFETCH(bool, cancel);
    const QString sheet = GoodImageSheet(Folder() + "/discs", "disc.cue");
    auto form = MakeForm();
    form->State().CueFolder = (Folder() + "/").toStdString();
    form->show();
    ModalAnswerer user(form.get());
    user.Answer(cancel ? std::nullopt : std::optional<QString>(sheet));
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QTRY_COMPARE(int(user.choosers.size()), 1);
    QCOMPARE(user.choosers[0].folder, Folder());
    QCOMPARE(user.choosers[0].filters, QStringList{"Fichier Cue (*.cue)"});
    Settle();
    if (cancel) {
        QVERIFY(Rows(*form).isEmpty());
        QCOMPARE(form->State().CueFolder, (Folder() + "/").toStdString());
        return;
    }
    QTRY_COMPARE(Rows(*form), QStringList{"disc.cue => GOOD"});
    QCOMPARE(form->State().CueFolder, (Folder() + "/discs/").toStdString());

    // The next chooser of any kind opens in that folder.
    user.Answer(std::nullopt);
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QTRY_COMPARE(int(user.choosers.size()), 2);
    QCOMPARE(user.choosers[1].folder, Folder() + "/discs");
}

void MainWindowTest::aMissingFileIsAskedForWithTheBestCandidateSelected_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("beside");
    // "" takes what the chooser selected, "-" cancels, else the name picked.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("title");

    QTest::newRow("another extension, taken")
        << "wav:album.cue" << QStringList{"album.flac", "notes.txt"} << "" << QStringList{"album.flac"}
        << "album.cue => CORRECTED"
        << "La ligne 3 nomme désormais \"album.flac\" (même nom avec une autre extension)."
        << "Où est « album.wav » (album.cue) ?";
    QTest::newRow("letter case beats another extension")
        << "wav:album.cue" << QStringList{"album.flac", "Album.WAV"} << "" << QStringList{"Album.WAV"}
        << "album.cue => CORRECTED"
        << "La ligne 3 nomme désormais \"Album.WAV\" (même nom, casse des lettres ignorée)."
        << "Où est « album.wav » (album.cue) ?";
    QTest::newRow("a Windows-1251 sheet, told in UTF-8")
        << "cyrillic:album.cue" << QStringList{"альбом.flac"} << "" << QStringList{"альбом.flac"}
        << "album.cue => CORRECTED"
        << "La ligne 3 nomme désormais \"альбом.flac\" (même nom avec une autre extension)."
        << "Où est « альбом.wav » (album.cue) ?";
    QTest::newRow("the user picks another file")
        << "wav:album.cue" << QStringList{"album.flac", "live.ogg"} << "live.ogg" << QStringList{"album.flac"}
        << "album.cue => CORRECTED"
        << "La ligne 3 nomme désormais \"live.ogg\" (choisi par vous)."
        << "Où est « album.wav » (album.cue) ?";
    QTest::newRow("the sheet's own name, moved in")
        << "missing-image:disc.cue" << QStringList{"disc.bin"} << "" << QStringList{"disc.bin"}
        << "disc.cue => CORRECTED"
        << "Le fichier de la ligne 1 a été déplacé ici sous le nom \"missing.bin\" (le nom de la feuille "
           "avec une autre extension)."
        << "Où est « missing.bin » (disc.cue) ?";
    QTest::newRow("nothing fits, cancelled")
        << "wav:album.cue" << QStringList{"notes.txt"} << "-" << QStringList{} << "album.cue => BAD"
        << "\"album.wav\" à la ligne 3 manque toujours."
        << "Où est « album.wav » (album.cue) ?";
    QTest::newRow("present")
        << "good:disc.cue" << QStringList{} << "-" << QStringList{} << "disc.cue => GOOD"
        << "Tous les fichiers que nomme la feuille sont présents et tous les temps sont bien formés."
        << "";
    QTest::newRow("times carried") << "carried:album.cue" << QStringList{} << "-" << QStringList{}
                                   << "album.cue => CORRECTED"
                                   << "1 temps a été normalisé (ligne 5)."
                                   << "";
}

void MainWindowTest::aMissingFileIsAskedForWithTheBestCandidateSelected() {
    QFETCH(QString, entry);
    QFETCH(QStringList, beside);
    QFETCH(QString, answer);
    QFETCH(QStringList, selected);
    QFETCH(QString, row);
    QFETCH(QString, toolTip);
    QFETCH(QString, title);
    const QString folder = Folder() + "/sheets";
    const QString sheet = Prepare(folder, entry);
    // A frame's worth of bytes: an image holds its track; audio files have no length to read.
    for (const QString& name : beside) {
        WriteFile(folder + "/" + name, QByteArray(2352, 'd'));
    }
    auto form = MakeForm();
    form->State().CueFolder = (Folder() + "/").toStdString();
    ModalAnswerer user(form.get());
    user.Answer(answer == "-" ? std::nullopt
                              : std::optional<QString>(answer.isEmpty() ? answer : folder + "/" + answer));
    Drop(*form, {sheet});
    QTRY_COMPARE(Rows(*form), QStringList{row});
    QCOMPARE(form->ListView1->item(0)->toolTip(), sheet + "\n" + toolTip);
    QVERIFY(user.boxes.empty());
    if (entry.startsWith("good:") || entry.startsWith("carried:")) {
        QVERIFY(user.choosers.empty());
        return;
    }
    QCOMPARE(int(user.choosers.size()), 1);
    QCOMPARE(user.choosers[0].folder, folder);
    QStringList selectedPaths;
    for (const QString& name : selected) {
        selectedPaths << folder + "/" + name;
    }
    QCOMPARE(user.choosers[0].selected, selectedPaths);
    QCOMPARE(user.choosers[0].title, title);
}

namespace {

// The entries of a row's context menu, and whether each can be chosen.
QStringList MenuEntries(TForm1& form, int row) {
    const std::unique_ptr<QMenu> menu(form.RowContextMenu(form.ListView1->item(row)));
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        entries << action->text() + (action->isEnabled() ? "" : " (disabled)");
    }
    return entries;
}

} // namespace

void MainWindowTest::restoreOriginalPutsBackWhatARowsRunChanged() {
    const QString folder = Folder() + "/sheets";
    const QString album = CarriedAudioSheet(folder, "album.cue");
    const QString disc = GoodImageSheet(folder, "disc.cue");
    const QString game = MissingImageSheet(folder, "game.cue");
    const QByteArray albumBytes = ReadFile(album);
    const QByteArray gameBytes = ReadFile(game);
    WriteFile(folder + "/downloads/download.bin", QByteArray(2352, 'g'));
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    user.Answer(folder + "/downloads/download.bin");
    Drop(*form, {album, disc, game});
    QTRY_COMPARE(Rows(*form),
                 (QStringList{"album.cue => CORRECTED", "disc.cue => GOOD", "game.cue => CORRECTED"}));
    QCOMPARE(MenuEntries(*form, 0), (QStringList{"Détails", "Restaurer l'original"}));
    QCOMPARE(MenuEntries(*form, 1), QStringList{"Détails"});
    QVERIFY(!QFile::exists(folder + "/downloads/download.bin"));

    // The menu a right click opens on the row of the moved image.
    bool chosen = false;
    QTimer::singleShot(0, form.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[1]->text(), QString("Restaurer l'original"));
        menu->setActiveAction(menu->actions()[1]);
        QTest::keyClick(menu, Qt::Key_Return);
        chosen = true;
    });
    const QPoint onRow = form->ListView1->visualItemRect(form->ListView1->item(2)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, onRow, form->ListView1->viewport()->mapToGlobal(onRow));
    QApplication::sendEvent(form->ListView1->viewport(), &click);
    QVERIFY(chosen);
    QCOMPARE(ReadFile(game), gameBytes);
    QCOMPARE(ReadFile(folder + "/downloads/download.bin"), QByteArray(2352, 'g'));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).join(", "),
             QString("album.cue, album.cue.bak, album.cue.moves, disc.bin, disc.cue, game.cue, song.mp3"));
    QVERIFY(form->ListView1->item(2)->toolTip().endsWith(
        "\nRestauré : la feuille et les fichiers qu'elle nomme sont revenus à leur état d'origine."));

    std::unique_ptr<QMenu>(form->RowContextMenu(form->ListView1->item(0)))->actions()[1]->trigger();
    QCOMPARE(ReadFile(album), albumBytes);
    QVERIFY(!QFile::exists(album + ".bak"));
    QCOMPARE(MenuEntries(*form, 0), QStringList{"Détails"});
    QCOMPARE(MenuEntries(*form, 2), QStringList{"Détails"});
    // The rows say what is on disk now.
    QCOMPARE(Rows(*form), (QStringList{"album.cue => RESTORED", "disc.cue => GOOD", "game.cue => RESTORED"}));
    QVERIFY(user.boxes.empty());
}

void MainWindowTest::aSheetWhoseEncodingCannotBeToldIsReadAsTheUserSays() {
    const QString folder = Folder() + "/sheets";
    // "東京.wav" in Shift-JIS, which Korean's code page reads too; no file beside it bears either out.
    const QByteArray head = "PERFORMER \"x\"\r\nTITLE \"y\"\r\nFILE \"";
    const QByteArray tail = "\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    WriteFile(folder + "/tokyo.cue", head + "\x93\x8C\x8B\x9E.wav" + tail);
    WriteFile(folder + "/Tokyo Live.flac", "audio");
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    user.Answer(QString());
    Drop(*form, {folder + "/tokyo.cue"});
    QTRY_COMPARE(Rows(*form), QStringList{"tokyo.cue => BAD"});
    QVERIFY(user.choosers.empty());
    QCOMPARE(ReadFile(folder + "/tokyo.cue"), head + "\x93\x8C\x8B\x9E.wav" + tail);
    QCOMPARE(MenuEntries(*form, 0), (QStringList{"Détails", "Lire comme..."}));

    const std::unique_ptr<QMenu> menu(form->RowContextMenu(form->ListView1->item(0)));
    for (QAction* entry : menu->actions()[1]->menu()->actions()) {
        if (entry->text() == "Shift-JIS") {
            entry->trigger();
        }
    }
    QTRY_COMPARE(Rows(*form), (QStringList{"tokyo.cue => BAD", "tokyo.cue => CORRECTED"}));
    QCOMPARE(ReadFile(folder + "/tokyo.cue"), head + "Tokyo Live.flac" + tail);
    // The next sheet is read as its bytes say again.
    QVERIFY(!form->State().ReadAs.has_value());
}

void MainWindowTest::aRestoreThatCannotBeMadeShowsWhyAndChangesNothing() {
    const QString folder = Folder() + "/sheets";
    const QString game = MissingImageSheet(folder, "game.cue");
    // Only a move from below the sheet's folder is recorded to be taken back.
    const QString download = folder + "/downloads/download.bin";
    WriteFile(download, QByteArray(2352, 'g'));
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    user.Answer(download);
    Drop(*form, {game});
    QTRY_COMPARE(Rows(*form), QStringList{"game.cue => CORRECTED"});
    // Another file has taken the image's old name meanwhile.
    WriteFile(download, "newer");
    std::unique_ptr<QMenu>(form->RowContextMenu(form->ListView1->item(0)))->actions()[1]->trigger();
    QTRY_COMPARE(int(user.boxes.size()), 1);
    QCOMPARE(user.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(user.boxes[0].text, "\"" + folder + "/missing.bin\" ne peut pas être remis en \"" + download +
                                     "\" : ce nom est pris.");
    QCOMPARE(ReadFile(download), QByteArray("newer"));
    QCOMPARE(ReadFile(folder + "/missing.bin"), QByteArray(2352, 'g'));
    QVERIFY(QFile::exists(game + ".moves"));
    // Still on offer, for when the way is clear.
    QCOMPARE(MenuEntries(*form, 0), (QStringList{"Détails", "Restaurer l'original"}));
    QCOMPARE(Rows(*form), QStringList{"game.cue => CORRECTED"});
}

// The user's newest text is never put back over: the box says why, and the row still offers the restore.
void MainWindowTest::aSheetEditedSinceItsRepairIsKeptAndSaysSo() {
    const QString album = CarriedAudioSheet(Folder() + "/sheets", "album.cue");
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    Drop(*form, {album});
    QTRY_COMPARE(Rows(*form), QStringList{"album.cue => CORRECTED"});
    const QByteArray edited = ReadFile(album) + "REM COMMENT \"edited by hand\"\n";
    WriteFile(album, edited);
    std::unique_ptr<QMenu>(form->RowContextMenu(form->ListView1->item(0)))->actions()[1]->trigger();
    QCOMPARE(int(user.boxes.size()), 1);
    QCOMPARE(user.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(user.boxes[0].text,
             QString("album.cue a été modifié depuis la réparation : rien n'a été remis"));
    QCOMPARE(ReadFile(album), edited);
    QVERIFY(QFile::exists(album + ".bak"));
    QCOMPARE(Rows(*form), QStringList{"album.cue => CORRECTED"});
    QCOMPARE(MenuEntries(*form, 0), (QStringList{"Détails", "Restaurer l'original"}));
}

void MainWindowTest::theChooserOffersEveryTypeTheEngineProposes_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("beside");
    QTest::addColumn<QStringList>("filters");

    const QStringList audio{
        "Tous les fichiers pris en charge (*.mp3 *.wav *.ogg *.mp4 *.wma *.mpc *.flac *.ape *.wv *.m4a "
        "*.opus *.aiff *.aif *.oga)",
        "Fichiers Mp3 (*.mp3)",
        "Fichiers Wav (*.wav)",
        "Fichiers Ogg (*.ogg)",
        "Fichiers Mp4 (*.mp4)",
        "Fichiers Wma (*.wma)",
        "Fichiers Mpc (*.mpc)",
        "Tous les fichiers (*)"};
    const QStringList image{"Tous les fichiers pris en charge (*.bin *.img *.iso)", "Fichiers BIN (*.bin)",
                            "Tous les fichiers (*)"};
    for (const char* extension : {"flac", "ape", "wv", "m4a", "opus", "aiff", "aif", "oga", "mp3"}) {
        QTest::newRow(extension) << "wav:album.cue" << QString("album.") + extension << audio;
    }
    for (const char* name : {"missing.img", "missing.iso", "disc.bin"}) {
        QTest::newRow(name) << "missing-image:disc.cue" << QString(name) << image;
    }
}

// The filter the chooser opens with shows the file it selected: a proposed
// "album.flac" is not hidden by a filter that knows only the six old types.
void MainWindowTest::theChooserOffersEveryTypeTheEngineProposes() {
    QFETCH(QString, entry);
    QFETCH(QString, beside);
    QFETCH(QStringList, filters);
    const QString folder = Folder() + "/sheets";
    const QString sheet = Prepare(folder, entry);
    WriteFile(folder + "/" + beside, "data");
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    user.Answer(std::nullopt);
    Drop(*form, {sheet});
    QTRY_COMPARE(int(user.choosers.size()), 1);
    const SeenChooser& chooser = user.choosers[0];
    QCOMPARE(chooser.filters, filters);
    QCOMPARE(chooser.selected, QStringList{folder + "/" + beside});
    QCOMPARE(chooser.selectedFilter, filters.first());
    const QString patterns = chooser.selectedFilter.section('(', 1).chopped(1);
    QVERIFY2(QDir::match(patterns.split(' '), beside), qPrintable(patterns));
}

void MainWindowTest::formShow_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("a sheet") << "good:album.cue" << QStringList{"album.cue => GOOD"} << QStringList{};
    QTest::newRow("a missing file") << "missing:gone.cue" << QStringList{} << QStringList{};
    QTest::newRow("a folder") << "folder:albums.cue" << QStringList{} << QStringList{};
    QTest::newRow("a text file") << "text:notes.txt" << QStringList{}
                                 << QStringList{"notes.txt n'est pas un CUE valide"};
}

// The run happens while the window is being shown, before it becomes visible.
void MainWindowTest::formShow() {
    QFETCH(QString, entry);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, boxes);
    const QString path = Prepare(Folder(), entry);
    auto form = MakeForm(path.toStdString());
    ModalAnswerer user(form.get());
    form->show();
    QCOMPARE(Rows(*form), rows);
    QCOMPARE(Texts(user.boxes), boxes);
    for (const SeenBox& box : user.boxes) {
        QVERIFY(!box.mainWindowVisible);
    }
    QVERIFY(form->isVisible());
}

void MainWindowTest::progressBarAtTheEndOfRuns_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("position");
    QTest::newRow("repaired") << "good:a.cue" << 100;
    QTest::newRow("rejected") << "text:notes.txt" << 0;
    QTest::newRow("unclassified") << "plain:lower.cue" << 0;
}

void MainWindowTest::progressBarAtTheEndOfRuns() {
    QFETCH(QString, entry);
    QFETCH(int, position);
    const QString path = Prepare(Folder(), entry);
    if (entry.startsWith("plain:")) {
        WriteFile(path, "file \"a.bin\" binary\r\n  track 01 mode1/2352\r\n    index 01 00:00:00\r\n");
    }
    auto form = MakeForm();
    form->SetProgressPosition(50);
    ModalAnswerer user(form.get());
    Drop(*form, {path});
    QTRY_VERIFY(form->ProgressBar1->value() != 50);
    QTRY_VERIFY(!form->State().RunInProgress);
    Settle();
    QCOMPARE(form->ProgressBar1->value(), position);
}

void MainWindowTest::ticksAndUntickingWriteTheAssociation() {
    auto form = MakeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    Settle();
    ModalAnswerer user(form.get());
    const QString settings = Folder() + "/config/velmora/velmora.conf";
    const QString entry = Folder() + "/data/applications/velmora.desktop";
    QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(entry));
    QTRY_VERIFY(ReadFile(settings).contains("associate="));
    QVERIFY(ReadFile(Folder() + "/config/mimeapps.list").contains("application/x-cue=velmora.desktop;"));
    QVERIFY(ReadFile(entry).contains(QFile::encodeName(QCoreApplication::applicationFilePath())));

    WriteFile(Folder() + "/system-data/applications/mimeapps.list",
              "[Default Applications]\ntext/plain=mousepad.desktop;\n");
    QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
    QTRY_VERIFY(!ReadFile(settings).contains("associate="));
    QVERIFY(ReadFile(Folder() + "/config/mimeapps.list").contains("application/x-cue=mousepad.desktop;"));
    QVERIFY(user.boxes.empty());
}

void MainWindowTest::activationFollowsTheStoredFlag() {
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    const QString entry = Folder() + "/data/applications/velmora.desktop";
    WriteFile(Folder() + "/config/velmora/velmora.conf", "associate=0\n");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    QTRY_VERIFY(form->CheckBox1->isChecked());
    // Ticked by the program, the box writes the association as a click would.
    QTRY_VERIFY(QFile::exists(entry));

    QFile::remove(Folder() + "/config/velmora/velmora.conf");
    QApplication::sendEvent(form.get(), &activate);
    QTRY_VERIFY(!form->CheckBox1->isChecked());
    QVERIFY(user.boxes.empty());
}

void MainWindowTest::anActivationFailureIsShownOnce() {
    WriteFile(Folder() + "/blocker", "");
    qputenv("XDG_CONFIG_HOME", (Folder() + "/blocker/config").toUtf8());
    auto form = MakeForm();
    ModalAnswerer user(form.get());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    QTRY_COMPARE(int(user.boxes.size()), 1);
    QCOMPARE(user.boxes[0].text, "Echec à la création de la clé " + Folder() + "/blocker/config/velmora.");
    QCOMPARE(user.boxes[0].icon, QMessageBox::Critical);
    QApplication::sendEvent(form.get(), &activate);
    Settle();
    QCOMPARE(int(user.boxes.size()), 1);
    QVERIFY(!form->CheckBox1->isChecked());
}

} // namespace velmora
