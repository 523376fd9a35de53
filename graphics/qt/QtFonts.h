#pragma once

#include "graphics/FontState.h"

#include <QFont>
#include <QStringList>
#include <string_view>

namespace velmora {

// The installed families to try for a Windows font name, best first; unknown names are tried as
// they are, then the sans-serif fallbacks.
QStringList SubstituteFamilies(std::string_view name);

bool IsSymbolFont(const FontState& font);

// The font's point size becomes a character height in pixels for a device of that resolution, as
// GDI does with a negative lfHeight. Sizes are kept within reason so that markup cannot ask for a
// font of thousands of pixels.
QFont ToQFont(const FontState& font, int pixelsPerInchY);

} // namespace velmora
