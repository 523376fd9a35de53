#include "shell/VelmoraApplication.h"

#include "controls/MarkupAccessible.h"
#include "platform/desktop/FontSubstitutes.h"
#include "platform/desktop/PaletteColors.h"
#include "resources/Resources.h"
#include "shell/ErrorBox.h"
#include "shell/QtTranslations.h"
#include "shell/StartupProbe.h"

#include <exception>

namespace velmora {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("velmora");
    setDesktopFileName("velmora");
    InstallQtTranslations(*this);
    LoadResources();
    InstallFontSubstitutes();
    InstallPaletteSysColors();
    InstallMarkupAccessibility();
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
