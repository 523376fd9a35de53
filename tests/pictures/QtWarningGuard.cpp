#include "QtWarningGuard.h"

#include <QString>
#include <QtGlobal>

namespace velmora {

namespace {

void FailOnWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        ADD_FAILURE() << "Qt reported: " << message.toStdString();
    }
}

QtMessageHandler previousHandler = nullptr;

} // namespace

void QtWarningGuard::SetUp() {
    previousHandler = qInstallMessageHandler(FailOnWarning);
}

void QtWarningGuard::TearDown() {
    qInstallMessageHandler(previousHandler);
}

} // namespace velmora
