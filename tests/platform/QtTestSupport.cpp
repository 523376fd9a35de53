#include "QtTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace velmora::testkit {

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
        FailTestsOnQtWarnings();
        return new QGuiApplication(argc, argv);
    }();
    return *application;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    Application();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace velmora::testkit
