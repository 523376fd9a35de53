#include "shell/PinnedStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace velmora {

namespace {

// One style for the program's life, owned by the application. Fusion draws every control from the palette
// it is given, where other styles (Adwaita's, say) draw buttons and boxes in their own colours.
QStyle* PaletteStyle() {
    static QStyle* const style = [] {
        QStyle* made = QStyleFactory::create("Fusion");
        made->setParent(qApp);
        return made;
    }();
    return style;
}

} // namespace

void PinLightStyle(QWidget& window) {
    QStyle* style = PaletteStyle();
    window.setStyle(style);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        control->setStyle(style);
    }
}

} // namespace velmora
