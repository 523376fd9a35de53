#include "shell/ErrorBox.h"

#include "cue/Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <vector>

namespace velmora {

namespace {

std::vector<std::function<void()>>& PendingReleases() {
    static std::vector<std::function<void()>> releases;
    return releases;
}

} // namespace

QString ProgramTitle(const QString& executablePath) {
    const QString name = QFileInfo(executablePath).fileName();
    const QString stem = name.left(name.indexOf('.'));
    if (stem.isEmpty())
        return stem;
    return stem.left(1) + stem.mid(1).toLower();
}

void ShowErrorBox(std::string_view message) {
    const std::string text = ErrorBoxText(message);
    QMessageBox box(QMessageBox::Critical, ProgramTitle(QCoreApplication::applicationFilePath()),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    std::vector<std::function<void()>> releases = std::move(PendingReleases());
    PendingReleases().clear();
    box.exec();
    for (const auto& release : releases)
        release();
}

void ReleaseAfterErrorBox(std::function<void()> release) {
    PendingReleases().push_back(std::move(release));
}

} // namespace velmora
