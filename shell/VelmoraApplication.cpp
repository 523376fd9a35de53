#include "shell/VelmoraApplication.h"

#include "controls/MarkupAccessible.h"
#include "platform/desktop/FontSubstitutes.h"
#include "platform/desktop/PaletteColors.h"
#include "resources/Resources.h"
#include "shell/ErrorBox.h"
#include "shell/ProgramIcon.h"
#include "shell/QtTranslations.h"
#include "shell/ShellAccessible.h"
#include "shell/StartupProbe.h"

#include <exception>

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("velmora");
    setDesktopFileName("velmora");
    InstallQtTranslations(*this);
    LoadResources();
    // Boxes and choosers take the application's icon: the program's, not a generic window's.
    setWindowIcon(ProgramIcon());
    InstallFontSubstitutes();
    InstallPaletteSysColors();
    InstallMarkupAccessibility();
    InstallShellAccessibility();
    InstallStartupProbe(*this);
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
    return true;
}

} // namespace velmora
