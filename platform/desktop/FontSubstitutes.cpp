#include "platform/desktop/FontSubstitutes.h"

#include <QFont>
#include <QStringList>

namespace velmora {

void InstallFontSubstitutes() {
    const QStringList sans{"Liberation Sans", "DejaVu Sans"};
    for (const char* name : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
                             "Arial", "Tahoma", "Verdana"}) {
        QFont::insertSubstitutions(name, sans);
    }
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif"});
    QFont::insertSubstitutions("Courier New", {"Liberation Mono", "DejaVu Sans Mono"});
    QFont::insertSubstitutions("Symbol", {"DejaVu Sans"});
}

} // namespace velmora
