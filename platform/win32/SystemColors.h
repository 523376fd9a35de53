#pragma once

#include "graphics/Color.h"

#include <optional>

namespace velmora {

// Windows' own colour for system colour `index` (GetSysColor); nothing for an index it does not know.
std::optional<TColor> WindowsSysColor(int index);

// Makes SysColor read Windows' colours from now on.
void InstallWindowsSysColors();

} // namespace velmora
