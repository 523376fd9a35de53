#include "controls/core/ControlPainting.h"

#include "controls/core/BevelFrame.h"
#include "controls/core/Gradient.h"
#include "controls/core/StaticTextCore.h"

namespace velmora {

Rect DrawBevels(Canvas& canvas, const Rect& client, const FrameSettings& frames, TColor color) {
    Rect r = client;
    if (frames.BevelOuter != bvNone) {
        const BevelPair colors = BevelColors(frames.BevelOuter);
        DrawBevelFrame(canvas, r, colors.TopLeft, colors.BottomRight, frames.BevelWidth);
    }
    DrawBevelFrame(canvas, r, color, color, frames.BorderWidth);
    if (frames.BevelInner != bvNone) {
        const BevelPair colors = BevelColors(frames.BevelInner);
        DrawBevelFrame(canvas, r, colors.TopLeft, colors.BottomRight, frames.BevelWidth);
    }
    return r;
}

void DrawSingleBorder(Canvas& canvas, const Rect& inside, const FrameSettings& frames) {
    if (frames.BorderStyle == bsSingle && frames.BorderWidth > 0) {
        canvas.SetPenWidth(frames.BorderWidth);
        canvas.SetPenColor(clBlack);
        canvas.Rectangle(inside);
    }
}

void PaintLabelBackground(Canvas& canvas, const Rect& client, const LabelBackground& background) {
    Rect r = client;
    const std::int32_t steps = r.Width() / 4;
    const TGradientType type = background.GradientType;
    const bool fullGradient = type == gtFullHorizontal || type == gtFullVertical;
    if (!background.Transparent) {
        if (background.ColorTo != clNone && fullGradient) {
            DrawGradient(canvas, background.Color, background.ColorTo, steps, r, type == gtFullHorizontal);
        } else {
            canvas.SetPenColor(background.Color);
            canvas.SetBrushColor(background.Color);
            canvas.Rectangle(r);
        }
    } else {
        // Nothing has set a fill colour: a single border of a transparent label stays hollow.
        canvas.SetBrushColor(clNone);
    }
    if (fullGradient) {
        return;
    }
    if (type == gtBottomLine) {
        r.Top = r.Bottom - 2;
    } else if (type == gtCenterLine) {
        r.Top = r.Top + (r.Bottom - r.Top) / 2;
        r.Bottom = r.Top + 2;
    } else {
        r.Bottom = r.Top + 2;
    }
    DrawGradient(canvas, background.Color, background.ColorTo, steps, r, true);
}

ScrollArrowsShown DrawScrollArrows(Canvas& canvas, const Rect& area, std::int32_t textHeight,
                                   std::int32_t controlHeight, std::int32_t scrollOffset) {
    constexpr std::int32_t size = StaticTextCore::kArrowSize;
    ScrollArrowsShown shown;
    if (static_cast<std::int64_t>(textHeight) >= static_cast<std::int64_t>(controlHeight) + scrollOffset) {
        canvas.DrawScrollArrow({area.Right - size, area.Bottom - size, area.Right, area.Bottom},
                               ScrollArrow::Down);
        shown.Down = true;
    }
    if (scrollOffset > 0) {
        canvas.DrawScrollArrow({area.Right - size, area.Top, area.Right, area.Top + size}, ScrollArrow::Up);
        shown.Up = true;
    }
    return shown;
}

} // namespace velmora
