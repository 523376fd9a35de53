#pragma once

#include "graphics/qt/testing/QtWarnings.h"

#include <QImage>
#include <QMessageBox>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {
class TForm1;
}

namespace velmora::testkit {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    bool mainWindowVisible;
    QString informativeText;
    QString detailedText;
};

struct SeenChooser {
    QString folder;
    QStringList filters;
    // What the chooser had selected when it showed.
    QStringList selected;
    QString title;
    QString selectedFilter;
};

// Plays the user in front of modal windows: closes every message box with OK
// and answers every file chooser with the next answer given (a path, an empty
// path to take what the chooser selected itself, or nothing to cancel),
// recording what it saw. A chooser is answered only once it is the active
// window, as a user sees it, and the path is typed into its file name box: a
// chooser turns down a selection made while its file name box has the focus.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(QWidget* mainWindow);

    void Answer(std::optional<QString> path) { answers_.push_back(std::move(path)); }
    // Called when a chooser shows, before it is answered.
    std::function<void()> OnChooser;
    // Called when a message box shows, before it is closed.
    std::function<void()> OnBox;

    std::vector<SeenBox> boxes;
    std::vector<SeenChooser> choosers;

private:
    void Look();

    QWidget* mainWindow_;
    QPointer<QWidget> answered_;
    QPointer<QWidget> closing_;
    std::deque<std::optional<QString>> answers_;
    QTimer timer_;
};

// A colour scheme of the desktop: light grey windows with black text, or a
// dark one with light text, as dark desktop themes hand applications.
QPalette LightScheme();
QPalette DarkScheme();

// How well text stands out in a picture of it: the contrast ratio (1 to 21,
// by relative luminance) between the most common colour, taken as the
// background, and the pixel that differs most from it.
double TextContrast(const QImage& picture);
// The contrast ratio of two colours, 1 to 21.
double ContrastRatio(QRgb one, QRgb other);

// Drops local files on the window as a file manager does.
void DropFiles(QWidget& window, const QStringList& paths);

// The captions of the result list, top to bottom.
QStringList Rows(const TForm1& form);

// Points the desktop's data and configuration folders (the association, the
// settings file) into `folder`, away from the user's own.
void UsePrivateDesktopFolders(const QString& folder);

// Lets links open nothing on the desktop: each target is added to `opened` instead, which starts empty.
void RecordShellOpens(std::vector<std::string>& opened);

// Writes `text` to `path`, creating its folder.
void WriteFile(const QString& path, const QByteArray& text);
QByteArray ReadFile(const QString& path);

// The About window's donation line in a language it speaks, chosen by its LANGUAGE code ("" for English).
struct DonationLine {
    const char* Name;
    const char* Language;
    const char* Text;
};
extern const std::vector<DonationLine> kDonationLines;

// Sheets the tests use, written into `folder`.
// An image sheet whose image lies beside it: repaired GOOD.
QString GoodImageSheet(const QString& folder, const QString& name);
// An audio sheet whose INDEX 01 time needs carrying: repaired CORRECTED.
QString CarriedAudioSheet(const QString& folder, const QString& name);
// An audio sheet whose INDEX 01 time is not a number: the run fails.
QString BrokenTimeAudioSheet(const QString& folder, const QString& name);
// An image sheet whose image is missing: the run asks for it.
QString MissingImageSheet(const QString& folder, const QString& name);

} // namespace velmora::testkit
