#include "platform/desktop/PaletteColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace velmora {

namespace {

struct PaletteRole {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

std::optional<PaletteRole> RoleOf(int index) {
    switch (index) {
    case 0:
    case 15:
        return PaletteRole{QPalette::Active, QPalette::Button};
    case 4:
    case 30:
        return PaletteRole{QPalette::Active, QPalette::Window};
    case 5:
        return PaletteRole{QPalette::Active, QPalette::Base};
    case 7:
        return PaletteRole{QPalette::Active, QPalette::WindowText};
    case 8:
        return PaletteRole{QPalette::Active, QPalette::Text};
    case 13:
    case 29:
        return PaletteRole{QPalette::Active, QPalette::Highlight};
    case 14:
        return PaletteRole{QPalette::Active, QPalette::HighlightedText};
    case 16:
        return PaletteRole{QPalette::Active, QPalette::Dark};
    case 17:
        return PaletteRole{QPalette::Disabled, QPalette::Text};
    case 18:
        return PaletteRole{QPalette::Active, QPalette::ButtonText};
    case 20:
        return PaletteRole{QPalette::Active, QPalette::Light};
    case 21:
        return PaletteRole{QPalette::Active, QPalette::Shadow};
    case 22:
        return PaletteRole{QPalette::Active, QPalette::Midlight};
    case 23:
        return PaletteRole{QPalette::Active, QPalette::ToolTipText};
    case 24:
        return PaletteRole{QPalette::Active, QPalette::ToolTipBase};
    case 26:
        return PaletteRole{QPalette::Active, QPalette::Link};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<TColor> PaletteSysColor(int index) {
    const auto role = RoleOf(index);
    if (!role || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return std::nullopt;
    }
    const QColor colour = QGuiApplication::palette().color(role->Group, role->Role);
    return RGBColor(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                    static_cast<std::uint8_t>(colour.blue()));
}

void InstallPaletteSysColors() {
    SetSysColorProvider(PaletteSysColor);
}

} // namespace velmora
