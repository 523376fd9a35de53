#pragma once

#include "controls/core/ControlEnums.h"
#include "graphics/Canvas.h"

#include <cstdint>

namespace velmora {

struct BevelPair {
    TColor TopLeft;
    TColor BottomRight;

    friend bool operator==(const BevelPair&, const BevelPair&) = default;
};

// Shadow above and left for a lowered cut, highlight there for every other one. Not for bvNone.
BevelPair BevelColors(TBevelCut cut);

// Draws `width` nested one-pixel frames inside rect and shrinks rect by width on every side. Frames stop
// once nothing is left inside, so a border far wider than the control costs nothing.
void DrawBevelFrame(Canvas& canvas, Rect& rect, TColor topLeftColor, TColor bottomRightColor,
                    std::int32_t width);

} // namespace velmora
