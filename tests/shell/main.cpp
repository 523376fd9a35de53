#include "HandOverTest.h"
#include "MainWindowTest.h"
#include "shell/VelmoraApplication.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Test functions named on the command line run in the class that has them;
// a class that has none of them is left out.
bool HasAnyNamedFunction(const QObject& test, int argc, char** argv) {
    bool named = false;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            return true;
        named = true;
        const QByteArray function = QString(argv[i]).section(QLatin1Char(':'), 0, 0).toUtf8() + "()";
        if (test.metaObject()->indexOfMethod(function.constData()) >= 0)
            return true;
    }
    return !named;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    velmora::VelmoraApplication app(argc, argv);
    int failures = 0;
    velmora::MainWindowTest mainWindow;
    velmora::HandOverTest handOver;
    for (QObject* test : std::initializer_list<QObject*>{&mainWindow, &handOver})
        if (HasAnyNamedFunction(*test, argc, argv))
            failures += QTest::qExec(test, argc, argv);
    return failures == 0 ? 0 : 1;
}
