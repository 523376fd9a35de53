#include "AboutWindowTest.h"
#include "DesktopHabitsTest.h"
#include "HandOverTest.h"
#include "LanguageTest.h"
#include "MainWindowTest.h"
#include "RealDesktopTest.h"
#include "graphics/qt/testing/QtTestClasses.h"
#include "shell/VelmoraApplication.h"

#include <QTemporaryDir>

int main(int argc, char** argv) {
    // on-x-desktop.sh runs the tests that need a real X server and window
    // manager; every other test runs offscreen.
    const bool onXDesktop =
        qEnvironmentVariable("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsSet("DISPLAY");
    if (!onXDesktop) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    velmora::VelmoraApplication app(argc, argv);
    velmora::MainWindowTest mainWindow;
    velmora::HandOverTest handOver;
    velmora::AboutWindowTest about;
    velmora::DesktopHabitsTest habits;
    velmora::LanguageTest language;
    velmora::RealDesktopTest desktop;
    const auto tests = onXDesktop ? std::vector<QObject*>{&desktop}
                                  : std::vector<QObject*>{&mainWindow, &handOver, &about, &habits, &language};
    const int failures = velmora::testkit::RunTestClasses(tests, app.arguments());
    return failures == 0 ? 0 : 1;
}
