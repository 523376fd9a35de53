#include "AboutWindowTest.h"
#include "DesktopHabitsTest.h"
#include "HandOverTest.h"
#include "LanguageTest.h"
#include "MainWindowTest.h"
#include "RealDesktopTest.h"
#include "shell/VelmoraApplication.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

bool TakesValue(const QString& option) {
    static const QStringList options{"-o",        "-maxwarnings", "-eventdelay",
                                     "-keydelay", "-mousedelay",  "-seed"};
    return options.contains(option);
}

// The command line for one test class: every option, and only the test
// functions named on the command line that this class has. Empty when
// functions were named but none of them is this class's.
QStringList ArgumentsFor(const QObject& test, const QStringList& arguments) {
    QStringList own{arguments.first()};
    bool named = false;
    bool mine = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith('-')) {
            own << argument;
            if (TakesValue(argument) && i + 1 < arguments.size())
                own << arguments[++i];
            continue;
        }
        named = true;
        const QByteArray function = argument.section(':', 0, 0).toUtf8() + "()";
        if (test.metaObject()->indexOfMethod(function.constData()) >= 0) {
            own << argument;
            mine = true;
        }
    }
    return named && !mine ? QStringList() : own;
}

} // namespace

int main(int argc, char** argv) {
    // on-x-desktop.sh runs the tests that need a real X server and window
    // manager; every other test runs offscreen.
    const bool onXDesktop =
        qEnvironmentVariable("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsSet("DISPLAY");
    if (!onXDesktop)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    velmora::VelmoraApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    int failures = 0;
    velmora::MainWindowTest mainWindow;
    velmora::HandOverTest handOver;
    velmora::AboutWindowTest about;
    velmora::DesktopHabitsTest habits;
    velmora::LanguageTest language;
    velmora::RealDesktopTest desktop;
    const auto tests = onXDesktop ? std::vector<QObject*>{&desktop}
                                  : std::vector<QObject*>{&mainWindow, &handOver, &about, &habits, &language};
    for (QObject* test : tests) {
        const QStringList own = ArgumentsFor(*test, arguments);
        if (!own.isEmpty())
            failures += QTest::qExec(test, own);
    }
    return failures == 0 ? 0 : 1;
}
