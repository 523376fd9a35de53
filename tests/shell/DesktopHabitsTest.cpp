#include "DesktopHabitsTest.h"

#include "ShellTestSupport.h"
#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "cue/repair/RowReport.h"
#include "platform/desktop/ShellOpen.h"
#include "shell/ErrorBox.h"
#include "shell/LinkLabel.h"
#include "shell/PictureBox.h"
#include "shell/ProgramIcon.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace velmora {

using namespace testkit;

DesktopHabitsTest::DesktopHabitsTest() = default;
DesktopHabitsTest::~DesktopHabitsTest() = default;

void DesktopHabitsTest::init() {
    FailOnQtWarnings();
    schemeBefore_ = QApplication::palette();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    UsePrivateDesktopFolders(work_->path());
    RecordShellOpens(opened_);
}

void DesktopHabitsTest::cleanup() {
    about_.reset();
    main_.reset();
    SetShellOpenHandler({});
    QApplication::setPalette(schemeBefore_);
    work_.reset();
}

void DesktopHabitsTest::ShowWindows() {
    main_ = std::make_unique<TForm1>(std::nullopt);
    about_ = std::make_unique<TForm2>(main_.get());
    main_->Form2 = about_.get();
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    QTRY_VERIFY(main_->isActiveWindow());
}

void DesktopHabitsTest::textReadsUnderEveryScheme_data() {
    QTest::addColumn<QPalette>("scheme");
    QTest::addColumn<QString>("area");
    // Text against its background: 4.5 is what small text needs; the red
    // links on white reach 4.
    QTest::addColumn<double>("least");
    const std::pair<const char*, QPalette> schemes[] = {{"light", LightScheme()}, {"dark", DarkScheme()}};
    for (const auto& [name, scheme] : schemes) {
        for (const char* area : {"check box", "status bar", "result row", "notice", "thanks", "OK button"}) {
            QTest::addRow("%s, %s", name, area) << scheme << QString(area) << 4.5;
        }
        QTest::addRow("%s, open link", name) << scheme << QString("open link") << 3.9;
    }
}

void DesktopHabitsTest::textReadsUnderEveryScheme() {
    QFETCH(QPalette, scheme);
    QFETCH(QString, area);
    QFETCH(double, least);
    QApplication::setPalette(scheme);
    ShowWindows();
    ModalAnswerer user(main_.get());
    DropFiles(*main_, {GoodImageSheet(Folder(), "album.cue")});
    QTRY_COMPARE(main_->ListView1->count(), 1);
    main_->Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));

    QImage picture;
    if (area == "check box") { // the caption, right of the box itself
        picture = main_->CheckBox1->grab(main_->CheckBox1->rect().adjusted(22, 0, 0, 0)).toImage();
    } else if (area == "status bar") {
        picture = main_->StatusBar1->findChild<QLabel*>()->grab().toImage();
    } else if (area == "result row") { // the caption, right of the icon
        picture =
            main_->ListView1->viewport()
                ->grab(main_->ListView1->visualItemRect(main_->ListView1->item(0)).adjusted(22, 0, 0, 0))
                .toImage();
    } else if (area == "open link") {
        picture = main_->Label3->grab().toImage();
    } else if (area == "notice") { // its first line, without a link
        picture = about_->HTMLStaticText1->grab(QRect(0, 0, 313, 13)).toImage();
    } else if (area == "thanks") { // "Thank you !", above the link
        picture = about_->HTMLabel2->grab(QRect(0, 0, 65, 13)).toImage();
    } else {
        picture = about_->BitBtn1->grab().toImage();
    }
    const double contrast = TextContrast(picture);
    QVERIFY2(contrast >= least, qPrintable(QString("contrast %1").arg(contrast)));
}

void DesktopHabitsTest::mainWindowKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("opens");
    // Tabs count from the check box.
    QTest::newRow("Tab, Enter on the open link") << 1 << int(Qt::Key_Return) << 0 << "chooser";
    QTest::newRow("Tab, Space on the open link") << 1 << int(Qt::Key_Space) << 0 << "chooser";
    QTest::newRow("Tab, Tab, Enter on About") << 2 << int(Qt::Key_Return) << 0 << "about";
    QTest::newRow("Tab, Tab, Space on About") << 2 << int(Qt::Key_Space) << 0 << "about";
    QTest::newRow("Ctrl+O anywhere") << 0 << int(Qt::Key_O) << int(Qt::ControlModifier) << "chooser";
    QTest::newRow("a letter on the open link") << 1 << int(Qt::Key_A) << 0 << "nothing";
}

void DesktopHabitsTest::mainWindowKeys() {
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, opens);
    ShowWindows();
    ModalAnswerer user(main_.get());
    user.Answer(std::nullopt);
    main_->CheckBox1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), main_->CheckBox1);
    for (int i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QWidget* focused = tabs == 1   ? static_cast<QWidget*>(main_->Label3)
                             : tabs == 2 ? static_cast<QWidget*>(main_->Label2)
                                         : main_->CheckBox1;
    QCOMPARE(QApplication::focusWidget(), focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (opens == "chooser") {
        QTRY_COMPARE(int(user.choosers.size()), 1);
        QCOMPARE(user.choosers[0].filters, QStringList{"Fichier Cue (*.cue)"});
    } else if (opens == "about") {
        QTRY_VERIFY(about_->isVisible());
        QVERIFY(!main_->isEnabled());
    } else {
        QTest::qWait(150);
        QVERIFY(user.choosers.empty());
        QVERIFY(!about_->isVisible());
    }
}

void DesktopHabitsTest::aboutWindowKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QString>("focused");
    // What Enter then opens; empty when it closes the window.
    QTest::addColumn<QString>("target");
    QTest::newRow("OK") << 0 << "BitBtn1"
                        << "";
    QTest::newRow("the graphics credit") << 1 << "HTMLStaticText1"
                                         << "mailto:brisel@dastrel.example";
    QTest::newRow("the donation") << 2 << "HTMLabel1"
                                  << "http://www.dastrel.example/";
    QTest::newRow("the author") << 3 << "HTMLabel2"
                                << "mailto:dastrel@dastrel.example";
    QTest::newRow("round to OK") << 4 << "BitBtn1"
                                 << "";
}

void DesktopHabitsTest::aboutWindowKeys() {
    QFETCH(int, tabs);
    QFETCH(QString, focused);
    QFETCH(QString, target);
    ShowWindows();
    main_->Label2Click();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    QTRY_COMPARE(QApplication::focusWidget(), about_->BitBtn1);
    for (int i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    if (target.isEmpty()) {
        QTRY_VERIFY(!about_->isVisible());
        QVERIFY(opened_.empty());
        return;
    }
    QTRY_COMPARE(int(opened_.size()), 1);
    QCOMPARE(QString::fromStdString(opened_[0]), target);
    QVERIFY(about_->isVisible());
    // Escape closes the window from any link, as OK does.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!about_->isVisible());
    QVERIFY(main_->isEnabled());
}

namespace {

// The right-most column that holds anything but the row's background.
int InkRight(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb background = rgb.pixel(rgb.width() - 1, 0);
    for (int x = rgb.width() - 1; x >= 0; --x) {
        for (int y = 0; y < rgb.height(); ++y) {
            if (rgb.pixel(x, y) != background) {
                return x;
            }
        }
    }
    return -1;
}

} // namespace

// Two names that differ only just before ".cue": the rows differ only when
// the end of the name is drawn, which cutting the text at its right end, or
// letting it run off the list, loses.
void DesktopHabitsTest::aLongNameKeepsItsEndAndOutcomeInView() {
    ShowWindows();
    const QString stem(150, 'a');
    DropFiles(*main_, {GoodImageSheet(Folder(), stem + "-1.cue"), GoodImageSheet(Folder(), stem + "-2.cue")});
    QTRY_COMPARE(main_->ListView1->count(), 2);
    QListWidget& list = *main_->ListView1;
    list.setCurrentItem(nullptr);
    list.clearFocus();
    const QRect visible = list.viewport()->rect();
    for (int row = 0; row < 2; ++row) {
        QVERIFY(visible.contains(list.visualItemRect(list.item(row))));
    }
    const QImage first = list.viewport()->grab(list.visualItemRect(list.item(0))).toImage();
    const QImage second = list.viewport()->grab(list.visualItemRect(list.item(1))).toImage();
    QCOMPARE(first.size(), second.size());
    QVERIFY(first != second);
    // The outcome is drawn at the row's right end: the short row's text ends
    // well before it, the long row's runs up to it.
    QVERIFY(InkRight(first) > list.visualItemRect(list.item(0)).width() - 20);
}

void DesktopHabitsTest::newRowsScrollIntoViewAndTheFocusFrameFollows() {
    ShowWindows();
    QListWidget& list = *main_->ListView1;
    list.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), &list);
    for (int i = 0; i < 12; ++i) {
        DropFiles(*main_, {GoodImageSheet(Folder(), QString("album%1.cue").arg(i))});
        QTRY_COMPARE(list.count(), i + 1);
        QCOMPARE(list.currentRow(), i);
        QVERIFY(list.viewport()->rect().contains(list.visualItemRect(list.item(i))));
        QVERIFY(list.selectedItems().isEmpty());
    }
}

void DesktopHabitsTest::theFocusFrameStaysWhereTheUserPutIt() {
    ShowWindows();
    QListWidget& list = *main_->ListView1;
    DropFiles(*main_, {GoodImageSheet(Folder(), "a.cue"), GoodImageSheet(Folder(), "b.cue"),
                       GoodImageSheet(Folder(), "c.cue")});
    QTRY_COMPARE(list.count(), 3);
    list.setFocus();
    list.setCurrentRow(0, QItemSelectionModel::NoUpdate);
    DropFiles(*main_, {GoodImageSheet(Folder(), "d.cue")});
    QTRY_COMPARE(list.count(), 4);
    QCOMPARE(list.currentRow(), 0);
}

namespace {

// "role: name (description)" for every node of the accessibility tree below `node`.
void Walk(QAccessibleInterface* node, QStringList& seen) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr) {
            continue;
        }
        QString line = QString("%1: %2").arg(int(child->role())).arg(child->text(QAccessible::Name));
        if (!child->text(QAccessible::Description).isEmpty()) {
            line += " (" + child->text(QAccessible::Description) + ")";
        }
        seen << line;
        Walk(child, seen);
    }
}

QString Node(QAccessible::Role role, const QString& name, const QString& description = {}) {
    return QString("%1: %2").arg(int(role)).arg(name) +
           (description.isEmpty() ? "" : " (" + description + ")");
}

} // namespace

void DesktopHabitsTest::assistiveTechnologiesSeeBothWindows_data() {
    QTest::addColumn<bool>("about");
    QTest::addColumn<QString>("node");
    QTest::newRow("open link") << false << Node(QAccessible::Link, "Ouvrir un fichier Cue");
    QTest::newRow("about link") << false << Node(QAccessible::Link, "À propos");
    QTest::newRow("results") << false << Node(QAccessible::List, "Résultats");
    QTest::newRow("banner") << false << Node(QAccessible::Graphic, "Bannière");
    QTest::newRow("progress") << false << Node(QAccessible::ProgressBar, "Progression de la réparation");
    QTest::newRow("logo") << true << Node(QAccessible::Graphic, "Logo de Velmora");
    QTest::newRow("portrait") << true << Node(QAccessible::Graphic, "Portrait de l'auteur");
    QTest::newRow("notice")
        << true
        << Node(QAccessible::StaticText,
                "Velmora Version 1.0 est un logiciel gratuit. Vous pouvez l'utiliser et le partager "
                "gratuitement. Ce logiciel a coûté de nombreuses heures de temps libre ; si vous aimez "
                "Velmora et souhaitez montrer que vous appréciez mon travail, soutenez-moi par un don. "
                "Graphismes de Brisel (Merci !!)");
    QTest::newRow("credit") << true << Node(QAccessible::Link, "Brisel", "mailto:brisel@dastrel.example");
    QTest::newRow("donation") << true
                              << Node(QAccessible::Link, "Visitez mon site si vous voulez faire un don !",
                                      "http://www.dastrel.example/");
    QTest::newRow("author") << true << Node(QAccessible::Link, "Dastrel", "mailto:dastrel@dastrel.example");
    QTest::newRow("OK") << true << Node(QAccessible::Button, "OK");
}

void DesktopHabitsTest::assistiveTechnologiesSeeBothWindows() {
    QFETCH(bool, about);
    QFETCH(QString, node);
    ShowWindows();
    QWidget* window = main_.get();
    if (about) {
        main_->Label2Click();
        QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
        window = about_.get();
    }
    QStringList seen;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    // Read by screen readers as a frame and a dialog.
    QCOMPARE(root->role(), about ? QAccessible::Dialog : QAccessible::Window);
    Walk(root, seen);
    QVERIFY2(seen.contains(node), qPrintable(seen.join('\n')));
}

// Warning and error boxes carry the program's icon, not a generic window's.
void DesktopHabitsTest::boxesCarryTheProgramsIcon() {
    ShowWindows();
    ModalAnswerer user(main_.get());
    QList<QImage> icons;
    user.OnBox = [&icons] {
        icons << QApplication::activeModalWidget()->windowIcon().pixmap(32).toImage().convertToFormat(
            QImage::Format_ARGB32);
    };
    main_->ShowWarning("notes.txt");
    ShowErrorBox(std::string_view("broken"));
    QCOMPARE(icons.size(), 2);
    const QImage program = ProgramIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!program.isNull());
    for (const QImage& icon : icons) {
        QCOMPARE(icon, program);
    }
}

// A screen reader presses a link as a click does.
void DesktopHabitsTest::assistiveTechnologiesPressTheLinks() {
    ShowWindows();
    ModalAnswerer user(main_.get());
    user.Answer(std::nullopt);
    const auto press = [](LinkLabel* link) {
        QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(link)->actionInterface();
        QVERIFY(actions != nullptr);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
    };
    press(main_->Label3);
    QTRY_COMPARE(int(user.choosers.size()), 1);
    press(main_->Label2);
    QTRY_VERIFY(about_->isVisible());
}

// What the tool tip tells is the row's description.
void DesktopHabitsTest::assistiveTechnologiesReadARowsReasons() {
    ShowWindows();
    main_->State().CuePath = "/music/album.cue";
    main_->AddResultRow("album.cue => GOOD", 2);
    RowReport report;
    main_->DescribeResultRow(report);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(main_->ListView1);
    QAccessibleInterface* row = list->child(0);
    QVERIFY(row != nullptr);
    QCOMPARE(row->text(QAccessible::Description), main_->ListView1->item(0)->toolTip());
    QVERIFY(row->text(QAccessible::Description).startsWith("/music/album.cue\n"));
}

namespace {

// The mean difference of two pictures of one size, in levels of 255 per channel.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * left.width() * left.height());
}

} // namespace

void DesktopHabitsTest::picturesAreSharpOnScaledScreens_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<double>("ratio");
    for (const char* picture : {"banner", "about-logo", "about-portrait"}) {
        for (const double ratio : {1.5, 2.0}) {
            QTest::addRow("%s at %g", picture, ratio) << picture << ratio;
        }
    }
}

// On a scaled screen the box shows the picture drawn at twice the size, scaled
// smoothly to the screen: as close to it as two ways of smooth scaling come,
// where an enlargement of the plain picture, pixel by pixel or smooth, is not.
void DesktopHabitsTest::picturesAreSharpOnScaledScreens() {
    QFETCH(QString, picture);
    QFETCH(double, ratio);
    ShowWindows();
    QWidget* box = picture == "banner"       ? static_cast<QWidget*>(main_->Image1)
                   : picture == "about-logo" ? static_cast<QWidget*>(about_->Image1)
                                             : static_cast<QWidget*>(about_->Image2);
    const QSize pixels = (QSizeF(box->size()) * ratio).toSize();
    QImage screen(pixels, QImage::Format_RGB32);
    screen.fill(Qt::white);
    screen.setDevicePixelRatio(ratio);
    box->render(&screen);
    screen.setDevicePixelRatio(1);

    QImage detailed = LoadJpegResource(":/images/" + picture + "@2x.jpg");
    QImage canvas(box->size() * 2, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter(&canvas).drawImage(0, 0, detailed);
    const QImage expected = canvas.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage blocky = LoadJpegResource(":/images/" + picture + ".jpg")
                              .copy(QRect(QPoint(), box->size()))
                              .scaled(pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage soft = LoadJpegResource(":/images/" + picture + ".jpg")
                            .copy(QRect(QPoint(), box->size()))
                            .scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double difference = MeanDifference(screen, expected);
    const double blockyDifference = MeanDifference(blocky, expected);
    const double softDifference = MeanDifference(soft, expected);
    QVERIFY2(difference < blockyDifference / 2 && difference < softDifference / 2,
             qPrintable(QString("%1 against %2 for a blocky and %3 for a smooth enlargement")
                            .arg(difference)
                            .arg(blockyDifference)
                            .arg(softDifference)));
}

void DesktopHabitsTest::resultIconsHaveTheirDetailedVersion_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("bad") << int(kBadIcon) << "result-bad";
    QTest::newRow("corrected") << int(kCorrectedIcon) << "result-corrected";
    QTest::newRow("good") << int(kGoodIcon) << "result-good";
}

void DesktopHabitsTest::resultIconsHaveTheirDetailedVersion() {
    QFETCH(int, index);
    QFETCH(QString, name);
    main_ = std::make_unique<TForm1>(std::nullopt);
    const QIcon& icon = main_->ImageList1.at(index);
    const QImage plain = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage sharp = icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(plain, QImage(":/images/" + name + ".png").convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(sharp.size(), QSize(32, 32));
    QCOMPARE(sharp, QImage(":/images/" + name + "@2x.png").convertToFormat(QImage::Format_ARGB32));
}

void DesktopHabitsTest::errorBoxContent_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("unprocessed");
    QTest::newRow("no sheet") << "plain"
                              << "Disque plein."
                              << ""
                              << "";
    QTest::newRow("a sheet") << "sheet"
                             << "Disque plein."
                             << "/music/album.cue"
                             << "";
    QTest::newRow("a sheet's line") << "line"
                                    << "Disque plein."
                                    << "/music/album.cue, ligne 7"
                                    << "";
    QTest::newRow("not one of ours") << "standard"
                                     << "Disque plein."
                                     << ""
                                     << "";
    QTest::newRow("the last of its drop") << "batch 0"
                                          << "Disque plein."
                                          << "/music/album.cue, ligne 7"
                                          << "";
    QTest::newRow("one left") << "batch 1"
                              << "Disque plein."
                              << "/music/album.cue, ligne 7"
                              << "1 autre feuille de ce dépôt n'a pas été traitée.";
    QTest::newRow("three left") << "batch 3"
                                << "Disque plein."
                                << "/music/album.cue, ligne 7"
                                << "3 autres feuilles de ce dépôt n'ont pas été traitées.";
}

void DesktopHabitsTest::errorBoxContent() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(QString, unprocessed);
    const std::string message = "Disque plein";
    const Error sheetError(message, "/music/album.cue", 7);
    ErrorBoxContent content;
    if (kind == "plain") {
        content = ErrorBoxFor(Error(message));
    } else if (kind == "sheet") {
        content = ErrorBoxFor(Error(message, "/music/album.cue"));
    } else if (kind == "line") {
        content = ErrorBoxFor(sheetError);
    } else if (kind == "standard") {
        content = ErrorBoxFor(std::runtime_error(message));
    } else {
        content =
            ErrorBoxFor(StoppedBatchError(sheetError, sheetError.SheetPath(), kind.section(' ', 1).toInt()));
    }
    QCOMPARE(content.text, text);
    QCOMPARE(content.detail, detail);
    QCOMPARE(content.unprocessed, unprocessed);
}

void DesktopHabitsTest::anErrorNamesItsSheetAndWhatTheDropLeftUndone_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("unprocessed");
    QTest::newRow("first of three") << QStringList{"broken", "good", "good"} << QStringList{}
                                    << "2 autres feuilles de ce dépôt n'ont pas été traitées.";
    QTest::newRow("second of three") << QStringList{"good", "broken", "good"} << QStringList{"s0.cue => GOOD"}
                                     << "1 autre feuille de ce dépôt n'a pas été traitée.";
    QTest::newRow("last") << QStringList{"good", "broken"} << QStringList{"s0.cue => GOOD"} << "";
    QTest::newRow("alone") << QStringList{"broken"} << QStringList{} << "";
}

void DesktopHabitsTest::anErrorNamesItsSheetAndWhatTheDropLeftUndone() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, rows);
    QFETCH(QString, unprocessed);
    ShowWindows();
    ModalAnswerer user(main_.get());
    QStringList paths;
    QString broken;
    for (int i = 0; i < entries.size(); ++i) {
        const QString folder = Folder() + QString("/%1").arg(i);
        const QString name = QString("s%1.cue").arg(i);
        paths << (entries[i] == "good" ? GoodImageSheet(folder, name) : BrokenTimeAudioSheet(folder, name));
        if (entries[i] == "broken") {
            broken = paths.last();
        }
    }
    DropFiles(*main_, paths);
    QTRY_COMPARE(int(user.boxes.size()), 1);
    QTest::qWait(150);
    QCOMPARE(int(user.boxes.size()), 1);
    QCOMPARE(Rows(*main_), rows);
    const SeenBox& box = user.boxes[0];
    QCOMPARE(box.icon, QMessageBox::Critical);
    // The message stays as it is; where it arose goes to the details.
    QVERIFY2(!box.text.contains(broken), qPrintable(box.text));
    QVERIFY2(box.detailedText == broken || box.detailedText.startsWith(broken + ", ligne "),
             qPrintable(box.detailedText));
    QCOMPARE(box.informativeText, unprocessed);
}

} // namespace velmora
