#include "ShellTestSupport.h"

#include "shell/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace velmora::testing {

void FailOnQtWarnings() {
    QTest::failOnWarning(
        QRegularExpression("^(?!This plugin does not support (propagateSizeHints|raise)\\(\\)$)"));
}

ModalAnswerer::ModalAnswerer(QWidget* mainWindow) : mainWindow_(mainWindow) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Look);
    timer_.start(10);
}

void ModalAnswerer::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && box->isVisible()) {
        // OnBox may run the event loop, which comes back here with the same box.
        if (box == closing_)
            return;
        closing_ = box;
        boxes.push_back(SeenBox{box->windowTitle(), box->text(), box->icon(), mainWindow_->isVisible()});
        if (OnBox)
            OnBox();
        box->done(QMessageBox::Ok);
        return;
    }
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    if (chooser == nullptr || !chooser->isActiveWindow() || chooser == answered_)
        return;
    answered_ = chooser;
    choosers.push_back(
        SeenChooser{chooser->directory().absolutePath(), chooser->nameFilters(), chooser->selectedFiles()});
    if (OnChooser)
        OnChooser();
    std::optional<QString> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer && !answer->isEmpty()) {
        if (auto* fileName = chooser->findChild<QLineEdit*>("fileNameEdit"))
            fileName->setText(*answer);
        if (chooser->selectedFiles() != QStringList{*answer})
            qWarning("The file chooser did not take %s", qPrintable(*answer));
    }
    static_cast<QDialog*>(chooser)->done(answer ? QDialog::Accepted : QDialog::Rejected);
}

QStringList Rows(const TForm1& form) {
    QStringList rows;
    for (int i = 0; i < form.ListView1->count(); ++i)
        rows << form.ListView1->item(i)->text();
    return rows;
}

void UsePrivateDesktopFolders(const QString& folder) {
    qputenv("XDG_CONFIG_HOME", (folder + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (folder + "/data").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (folder + "/system-config").toUtf8());
    qputenv("XDG_DATA_DIRS", (folder + "/system-data").toUtf8());
}

void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString GoodImageSheet(const QString& folder, const QString& name) {
    const QString path = folder + "/" + name;
    const QString image = QFileInfo(name).completeBaseName() + ".bin";
    WriteFile(path,
              "FILE \"" + image.toUtf8() + "\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
    WriteFile(folder + "/" + image, "image");
    return path;
}

namespace {

QString AudioSheet(const QString& folder, const QString& name, const QByteArray& indexTime) {
    const QString path = folder + "/" + name;
    WriteFile(path, "PERFORMER \"Artist\"\nTITLE \"Album\"\nFILE \"song.mp3\" MP3\n  TRACK 01 AUDIO\n"
                    "    INDEX 01 " +
                        indexTime + "\n");
    WriteFile(folder + "/song.mp3", "audio");
    return path;
}

} // namespace

QString CarriedAudioSheet(const QString& folder, const QString& name) {
    return AudioSheet(folder, name, "00:75:00");
}

QString BrokenTimeAudioSheet(const QString& folder, const QString& name) {
    return AudioSheet(folder, name, "ab:00:00");
}

QString MissingImageSheet(const QString& folder, const QString& name) {
    const QString path = folder + "/" + name;
    WriteFile(path, "FILE \"missing.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
    return path;
}

} // namespace velmora::testing
