#include "QtTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora::testing {

namespace {

CapturedQtWarnings* capture = nullptr;

void FailOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtWarningMsg && type != QtCriticalMsg && type != QtFatalMsg)
        return;
    if (capture != nullptr)
        capture->messages.push_back(message.toStdString());
    else
        ADD_FAILURE() << "unexpected Qt message: " << message.toStdString();
}

} // namespace

QGuiApplication& Application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            // Removed when the test program ends.
            static QTemporaryDir runtime;
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        }
        qInstallMessageHandler(FailOnWarnings);
        return new QGuiApplication(argc, argv);
    }();
    return *application;
}

CapturedQtWarnings::CapturedQtWarnings() {
    Application();
    capture = this;
}

CapturedQtWarnings::~CapturedQtWarnings() {
    capture = nullptr;
}

bool CapturedQtWarnings::Contains(const std::string& part) const {
    for (const std::string& message : messages)
        if (message.find(part) != std::string::npos)
            return true;
    return false;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    Application();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace velmora::testing
