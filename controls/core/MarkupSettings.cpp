#include "controls/core/MarkupSettings.h"

namespace velmora {

MarkupRequest RequestFor(const MarkupSettings& settings, const AnchorHover& hovering, const Rect& bounds,
                         Point mouse, std::int32_t focus) {
    MarkupRequest request;
    request.bounds = bounds;
    request.hitX = mouse.X;
    request.hitY = mouse.Y;
    request.focusAnchor = focus;
    request.hoverAnchor = hovering.Anchor;
    request.shadowOffset = settings.ShadowOffset;
    request.hoverEnabled = settings.Hover;
    request.urlColor = settings.URLColor;
    request.hoverColor = settings.HoverColor;
    request.hoverFontColor = settings.HoverFontColor;
    request.shadowColor = settings.ShadowColor;
    return request;
}

void MakeHitRequest(MarkupRequest& request) {
    request.focusAnchor = -1;
    request.noDraw = true;
    request.hoverAnchor = -1;
    request.urlColor = clWhite;
    request.hoverColor = clNone;
    request.hoverFontColor = clNone;
    request.shadowColor = clNone;
    request.blinkVisible = false;
}

} // namespace velmora
