#pragma once

#include "graphics/Canvas.h"
#include "graphics/FontState.h"

namespace velmora {

// Puts a copy of the canvas font turned by angle degrees on the canvas and returns the font it
// replaced, for RestoreUnrotatedFont.
FontState SelectRotatedFont(Canvas& canvas, int angle);

void RestoreUnrotatedFont(Canvas& canvas, const FontState& kept);

} // namespace velmora
