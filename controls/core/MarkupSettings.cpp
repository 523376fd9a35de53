#include "controls/core/MarkupSettings.h"

namespace velmora {

MarkupRequest RequestFor(const MarkupSettings& settings, const AnchorHover& hovering, const Rect& bounds,
                         Point mouse, std::int32_t focus) {
    MarkupRequest request;
    request.Bounds = bounds;
    request.HitX = mouse.X;
    request.HitY = mouse.Y;
    request.FocusAnchor = focus;
    request.HoverAnchor = hovering.Anchor;
    request.ShadowOffset = settings.ShadowOffset;
    request.HoverEnabled = settings.Hover;
    request.UrlColor = settings.URLColor;
    request.HoverColor = settings.HoverColor;
    request.HoverFontColor = settings.HoverFontColor;
    request.ShadowColor = settings.ShadowColor;
    return request;
}

void MakeHitRequest(MarkupRequest& request) {
    request.FocusAnchor = -1;
    request.NoDraw = true;
    request.HoverAnchor = -1;
    request.UrlColor = clWhite;
    request.HoverColor = clNone;
    request.HoverFontColor = clNone;
    request.ShadowColor = clNone;
    request.BlinkVisible = false;
}

} // namespace velmora
