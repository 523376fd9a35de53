#include "QtTestSupport.h"

#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora::testing {

namespace {

void FailOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
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
            static char runtime[] = "/tmp/platform-tests-XXXXXX";
            qputenv("XDG_RUNTIME_DIR", mkdtemp(runtime));
        }
        qInstallMessageHandler(FailOnWarnings);
        return new QGuiApplication(argc, argv);
    }();
    return *application;
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
