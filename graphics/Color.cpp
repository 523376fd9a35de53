#include "graphics/Color.h"

#include <array>
#include <utility>

namespace velmora {

namespace {

constexpr std::array<TColor, 31> kClassicScheme = {
    RGBColor(212, 208, 200), // scroll bar
    RGBColor(58, 110, 165),  // desktop
    RGBColor(10, 36, 106),   // active caption
    RGBColor(128, 128, 128), // inactive caption
    RGBColor(212, 208, 200), // menu
    RGBColor(255, 255, 255), // window
    RGBColor(0, 0, 0),       // window frame
    RGBColor(0, 0, 0),       // menu text
    RGBColor(0, 0, 0),       // window text
    RGBColor(255, 255, 255), // caption text
    RGBColor(212, 208, 200), // active border
    RGBColor(212, 208, 200), // inactive border
    RGBColor(128, 128, 128), // application workspace
    RGBColor(10, 36, 106),   // highlight
    RGBColor(255, 255, 255), // highlight text
    RGBColor(212, 208, 200), // button face
    RGBColor(128, 128, 128), // button shadow
    RGBColor(128, 128, 128), // grey text
    RGBColor(0, 0, 0),       // button text
    RGBColor(212, 208, 200), // inactive caption text
    RGBColor(255, 255, 255), // button highlight
    RGBColor(64, 64, 64),    // 3D dark shadow
    RGBColor(212, 208, 200), // 3D light
    RGBColor(0, 0, 0),       // info text
    RGBColor(255, 255, 225), // info background
    RGBColor(0, 0, 0),       // unused slot
    RGBColor(0, 0, 128),     // hot light
    RGBColor(166, 202, 240), // gradient active caption
    RGBColor(192, 192, 192), // gradient inactive caption
    RGBColor(10, 36, 106),   // menu highlight
    RGBColor(212, 208, 200), // menu bar
};

SysColorProvider& InstalledProvider() {
    static SysColorProvider provider;
    return provider;
}

} // namespace

TColor ClassicSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kClassicScheme.size())) {
        return clBlack;
    }
    return kClassicScheme[static_cast<std::size_t>(index)];
}

SysColorProvider SetSysColorProvider(SysColorProvider provider) {
    return std::exchange(InstalledProvider(), std::move(provider));
}

TColor SysColor(int index) {
    if (const auto& provider = InstalledProvider()) {
        if (const auto color = provider(index)) {
            return *color & 0xFFFFFF;
        }
    }
    return ClassicSysColor(index);
}

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) {
        return SysColor(color & 0xFF);
    }
    return color;
}

} // namespace velmora
