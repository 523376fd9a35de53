#include "shell/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace velmora {

namespace {

long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!seen_ && event->type() == QEvent::Paint && widget != nullptr && widget->isWindow()) {
            seen_ = true;
            // After the whole window is painted and put on the screen.
            QTimer::singleShot(0, this, [] {
                std::printf("painted %ld\n", ResidentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

void InstallStartupProbe(QCoreApplication& app) {
    if (qEnvironmentVariableIsEmpty("VELMORA_STARTUP_PROBE")) {
        return;
    }
    app.installEventFilter(new FirstPaint(&app));
}

} // namespace velmora
