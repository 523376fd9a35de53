#include "controls/core/BevelFrame.h"

#include "controls/core/MarkupGeometry.h"

#include <array>

namespace velmora {

BevelPair BevelColors(TBevelCut cut) {
    if (cut == bvLowered) {
        return {clBtnShadow, clBtnHighlight};
    }
    return {clBtnHighlight, clBtnShadow};
}

void DrawBevelFrame(Canvas& canvas, Rect& rect, TColor topLeftColor, TColor bottomRightColor,
                    std::int32_t width) {
    if (width <= 0) {
        return;
    }
    canvas.SetPenWidth(1);
    Rect frame{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
    for (std::int32_t i = 0; i < width && frame.Left <= frame.Right && frame.Top <= frame.Bottom; ++i) {
        canvas.SetPenColor(topLeftColor);
        const std::array<Point, 3> topLeft{Point{frame.Left, frame.Bottom}, Point{frame.Left, frame.Top},
                                           Point{frame.Right, frame.Top}};
        canvas.Polyline(topLeft);
        canvas.SetPenColor(bottomRightColor);
        const std::array<Point, 3> bottomRight{Point{frame.Right, frame.Top},
                                               Point{frame.Right, frame.Bottom},
                                               Point{frame.Left - 1, frame.Bottom}};
        canvas.Polyline(bottomRight);
        frame = frame.Inflate(-1, -1);
    }
    rect = Shrunk(rect, width);
}

} // namespace velmora
