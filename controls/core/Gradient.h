#pragma once

#include "graphics/Canvas.h"

#include <cstdint>

namespace velmora {

// Fills rect with `steps` bands running from fromColor towards toColor (never reaching it), left to right
// or top to bottom. Neighbouring bands overlap by one pixel; with more steps than pixels the bands are
// one pixel wide and repeat. Leaves pen and brush in the last band's colour.
void DrawGradient(Canvas& canvas, TColor fromColor, TColor toColor, std::int32_t steps, const Rect& rect,
                  bool horizontal);

} // namespace velmora
