#pragma once

#include "controls/core/ControlEnums.h"
#include "controls/core/MarkupGeometry.h"
#include "graphics/Canvas.h"

#include <cstdint>

namespace velmora {

// The outer bevel, a margin of BorderWidth pixels in `color`, the inner bevel; returns what is left.
Rect DrawBevels(Canvas& canvas, const Rect& client, const FrameSettings& frames, TColor color);

// A black single border of BorderWidth pixels over what the bevels left, filled with the brush.
void DrawSingleBorder(Canvas& canvas, const Rect& inside, const FrameSettings& frames);

// What lies under the label's text.
struct LabelBackground {
    TColor Color = clBtnFace;
    TColor ColorTo = clNone;
    TGradientType GradientType = gtFullHorizontal;
    bool Transparent = false;
};

// The plain or full-gradient fill (none when transparent), then the two-pixel gradient line of the line
// kinds at the bottom, centre or top.
void PaintLabelBackground(Canvas& canvas, const Rect& client, const LabelBackground& background);

struct ScrollArrowsShown {
    bool Up = false;
    bool Down = false;
};

// The static text's scroll arrows in the right corners of area: down when the whole text, textHeight
// pixels, reaches past the control's height as scrolled, up when it is scrolled at all.
ScrollArrowsShown DrawScrollArrows(Canvas& canvas, const Rect& area, std::int32_t textHeight,
                                   std::int32_t controlHeight, std::int32_t scrollOffset);

} // namespace velmora
