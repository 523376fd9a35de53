#include "controls/core/MarkupGeometry.h"

#include <algorithm>

namespace velmora {

namespace {

std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

Rect Shrunk(const Rect& rect, std::int64_t n) {
    return {Saturated(rect.Left + n), Saturated(rect.Top + n), Saturated(rect.Right - n),
            Saturated(rect.Bottom - n)};
}

Rect TextArea(const Rect& client, const FrameSettings& frames) {
    Rect area = client;
    if (frames.BevelInner != bvNone || frames.BevelOuter != bvNone) {
        area = Shrunk(area, frames.BevelWidth);
    }
    if (frames.BorderStyle == bsSingle) {
        area = Shrunk(area, frames.BorderWidth);
    }
    return area;
}

void ApplyVAlignment(TVAlignment alignment, Rect& bounds, std::int32_t textHeight,
                     std::int32_t controlHeight) {
    if (alignment == tvaTop || textHeight >= controlHeight) {
        return;
    }
    const std::int64_t room = static_cast<std::int64_t>(bounds.Bottom) - bounds.Top - textHeight;
    if (alignment == tvaCenter) {
        bounds.Top = Saturated(bounds.Top + room / 2);
    } else {
        bounds.Top = Saturated(static_cast<std::int64_t>(bounds.Bottom) - textHeight);
    }
}

AutoSizeRules AutoSizeRulesFor(bool autoSizing, TAlign align, TAutoSizeType type) {
    if (!autoSizing) {
        return {};
    }
    const bool vertical =
        (align == alNone || align == alTop || align == alBottom) && (type == asVertical || type == asBoth);
    const bool horizontal =
        (align == alNone || align == alLeft || align == alRight) && (type == asHorizontal || type == asBoth);
    return {vertical, horizontal};
}

Rect ExtendForAutoSize(const Rect& bounds, AutoSizeRules rules) {
    Rect extended = bounds;
    if (rules.Vertical) {
        extended.Bottom = Saturated(static_cast<std::int64_t>(bounds.Bottom) + kAutoSizeExtension);
    }
    if (rules.Horizontal) {
        extended.Right = Saturated(static_cast<std::int64_t>(bounds.Right) + kAutoSizeExtension);
    }
    return extended;
}

bool IsShellTarget(std::string_view anchor) {
    return anchor.find("://") != std::string_view::npos || anchor.find("mailto:") != std::string_view::npos;
}

} // namespace velmora
