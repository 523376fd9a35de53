#pragma once

#include "graphics/Color.h"

#include <optional>

namespace velmora {

// The application palette's colour for system colour `index` where a palette
// role fits; nothing for captions, borders, the desktop and unknown indexes,
// and nothing while no GUI application runs.
std::optional<TColor> PaletteSysColor(int index);

// Makes SysColor read the application palette from now on.
void InstallPaletteSysColors();

} // namespace velmora
