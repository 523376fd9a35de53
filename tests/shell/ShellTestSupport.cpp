#include "ShellTestSupport.h"

#include "platform/desktop/ShellOpen.h"
#include "shell/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>

namespace velmora::testkit {

ModalAnswerer::ModalAnswerer(QWidget* mainWindow) : mainWindow_(mainWindow) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Look);
    timer_.start(10);
}

void ModalAnswerer::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && box->isVisible()) {
        // OnBox may run the event loop, which comes back here with the same box.
        if (box == closing_) {
            return;
        }
        closing_ = box;
        boxes.push_back(SeenBox{box->windowTitle(), box->text(), box->icon(), mainWindow_->isVisible(),
                                box->informativeText(), box->detailedText()});
        if (OnBox) {
            OnBox();
        }
        box->done(QMessageBox::Ok);
        return;
    }
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    if (chooser == nullptr || !chooser->isActiveWindow() || chooser == answered_) {
        return;
    }
    answered_ = chooser;
    choosers.push_back(SeenChooser{chooser->directory().absolutePath(), chooser->nameFilters(),
                                   chooser->selectedFiles(), chooser->windowTitle(),
                                   chooser->selectedNameFilter()});
    if (OnChooser) {
        OnChooser();
    }
    std::optional<QString> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer && !answer->isEmpty()) {
        if (auto* fileName = chooser->findChild<QLineEdit*>("fileNameEdit")) {
            fileName->setText(*answer);
        }
        if (chooser->selectedFiles() != QStringList{*answer}) {
            qWarning("The file chooser did not take %s", qPrintable(*answer));
        }
    }
    static_cast<QDialog*>(chooser)->done(answer ? QDialog::Accepted : QDialog::Rejected);
}

QPalette LightScheme() {
    QPalette scheme(Qt::black, QColor(0xEF, 0xEF, 0xEF), Qt::white, QColor(0x9F, 0x9F, 0x9F),
                    QColor(0xB8, 0xB8, 0xB8), Qt::black, Qt::white, Qt::white, QColor(0xEF, 0xEF, 0xEF));
    return scheme;
}

QPalette DarkScheme() {
    const QColor light(0xEE, 0xEE, 0xEE);
    QPalette scheme(light, QColor(0x35, 0x35, 0x35), QColor(0x50, 0x50, 0x50), QColor(0x20, 0x20, 0x20),
                    QColor(0x2A, 0x2A, 0x2A), light, Qt::white, QColor(0x1E, 0x1E, 0x1E),
                    QColor(0x2B, 0x2B, 0x2B));
    scheme.setColor(QPalette::ButtonText, light);
    scheme.setColor(QPalette::ToolTipText, light);
    scheme.setColor(QPalette::ToolTipBase, QColor(0x2B, 0x2B, 0x2B));
    return scheme;
}

namespace {

double Luminance(QRgb pixel) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) + 0.0722 * channel(qBlue(pixel));
}

} // namespace

double TextContrast(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            ++counts[rgb.pixel(x, y)];
        }
    }
    if (counts.empty()) {
        return 1;
    }
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                                return a.second < b.second;
                            })->first;
    double best = 1;
    for (const auto& [pixel, count] : counts) {
        best = std::max(best, ContrastRatio(background, pixel));
    }
    return best;
}

double ContrastRatio(QRgb one, QRgb other) {
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void DropFiles(QWidget& window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    // A drop goes only to the widget that took the drag when it entered.
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QVERIFY(drop.isAccepted());
}

QStringList Rows(const TForm1& form) {
    QStringList rows;
    for (int i = 0; i < form.ListView1->count(); ++i) {
        rows << form.ListView1->item(i)->text();
    }
    return rows;
}

void RecordShellOpens(std::vector<std::string>& opened) {
    opened.clear();
    SetShellOpenHandler([&opened](const std::string& target) {
        opened.push_back(target);
        return true;
    });
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

const std::vector<DonationLine> kDonationLines{
    {"English", "", "Visit my website if you want to make a Donation !"},
    {"French", "fr", "Visitez mon site si vous voulez faire un don !"},
    {"German", "de", "Besuchen Sie meine Website für eine Spende !"},
    {"Spanish", "es", "¡Visite mi web si quiere hacer un donativo!"},
    {"Russian", "ru", "Зайдите на мой сайт, чтобы сделать пожертвование!"},
    {"Japanese", "ja", "寄付をお考えの方は私のサイトへどうぞ！"},
    {"Chinese", "zh_CN", "如想捐赠，请访问我的网站！"},
    {"Korean", "ko", "기부하시려면 제 웹사이트를 방문해 주세요!"},
};

QString GoodImageSheet(const QString& folder, const QString& name) {
    const QString path = folder + "/" + name;
    const QString image = QFileInfo(name).completeBaseName() + ".bin";
    WriteFile(path,
              "FILE \"" + image.toUtf8() + "\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
    // One frame: the image holds its track.
    WriteFile(folder + "/" + image, QByteArray(2352, 'i'));
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

} // namespace velmora::testkit
