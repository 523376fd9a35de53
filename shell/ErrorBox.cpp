#include "shell/ErrorBox.h"

#include "cue/Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace velmora {

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
    box.exec();
}

} // namespace velmora
