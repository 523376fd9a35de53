#include "platform/win32/SystemColors.h"

#include <windows.h>

namespace velmora {

std::optional<TColor> WindowsSysColor(int index) {
    // GetSysColor answers 0, black, for an unknown index; only a known one has a brush.
    if (index < 0 || GetSysColorBrush(index) == nullptr) {
        return std::nullopt;
    }
    return static_cast<TColor>(GetSysColor(index) & 0x00FFFFFFu);
}

void InstallWindowsSysColors() {
    SetSysColorProvider(WindowsSysColor);
}

} // namespace velmora
