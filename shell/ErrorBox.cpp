#include "shell/ErrorBox.h"

#include "shell/LocalizedText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <vector>

namespace velmora {

namespace {

std::vector<std::function<void()>>& PendingReleases() {
    static std::vector<std::function<void()>> releases;
    return releases;
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ShowBox(const ErrorBoxContent& content) {
    QMessageBox box(QMessageBox::Critical, ProgramTitle(QCoreApplication::applicationFilePath()),
                    content.text, QMessageBox::Ok);
    box.setInformativeText(content.unprocessed);
    box.setDetailedText(content.detail);
    // A second start waiting on this run is released only once the user has closed the box.
    std::vector<std::function<void()>> releases = std::move(PendingReleases());
    PendingReleases().clear();
    box.exec();
    for (const auto& release : releases) {
        release();
    }
}

} // namespace

QString ProgramTitle(const QString& executablePath) {
    const QString name = QFileInfo(executablePath).fileName();
    const QString stem = name.left(name.indexOf('.'));
    if (stem.isEmpty()) {
        return stem;
    }
    return stem.left(1) + stem.mid(1).toLower();
}

ErrorBoxContent ErrorBoxFor(const std::exception& error) {
    ErrorBoxContent content{FromUtf8(ErrorBoxText(error.what())), {}, {}};
    const auto* failure = dynamic_cast<const Error*>(&error);
    if (failure == nullptr) {
        return content;
    }
    if (!failure->SheetPath().empty()) {
        content.detail = QFile::decodeName(failure->SheetPath().c_str());
        if (failure->LineNumber() != 0) {
            content.detail += LocalizedText(", line %s", {std::to_string(failure->LineNumber())});
        }
    }
    if (const auto* batch = dynamic_cast<const StoppedBatchError*>(failure);
        batch && batch->Unprocessed() > 0) {
        content.unprocessed = batch->Unprocessed() == 1
                                  ? LocalizedText("1 more sheet of this drop was not processed.")
                                  : LocalizedText("%s more sheets of this drop were not processed.",
                                                  {std::to_string(batch->Unprocessed())});
    }
    return content;
}

void ShowErrorBox(std::string_view message) {
    ShowBox({FromUtf8(ErrorBoxText(message)), {}, {}});
}

void ShowErrorBox(const std::exception& error) {
    ShowBox(ErrorBoxFor(error));
}

void ReleaseAfterErrorBox(std::function<void()> release) {
    PendingReleases().push_back(std::move(release));
}

} // namespace velmora
