#include "controls/core/Gradient.h"

#include "markup/PictureDrawing.h"

namespace velmora {

void DrawGradient(Canvas& canvas, TColor fromColor, TColor toColor, std::int32_t steps, const Rect& rect,
                  bool horizontal) {
    FillGradientBands(canvas, fromColor, toColor, horizontal, rect, steps, clNone);
}

} // namespace velmora
