#include "HandOverTest.h"
#include "MainWindowTest.h"
#include "shell/VelmoraApplication.h"

#include <QTemporaryDir>
#include <QtTest>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    velmora::VelmoraApplication app(argc, argv);
    int failures = 0;
    velmora::MainWindowTest mainWindow;
    failures += QTest::qExec(&mainWindow, argc, argv);
    velmora::HandOverTest handOver;
    failures += QTest::qExec(&handOver, argc, argv);
    return failures == 0 ? 0 : 1;
}
