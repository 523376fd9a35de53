#include "controls/core/LabelCore.h"

namespace velmora {

void LabelCore::RepaintHoverChange(const Rect& rect) {
    if (rect.Left != -1) {
        host_.InvalidateBehind(hovering_.AnchorRect);
    } else {
        host_.InvalidateAll();
    }
}

void LabelCore::MouseMove(std::int32_t x, std::int32_t y, PointerSettings settings) {
    const AnchorHit hit = host_.HitAt(x, y);
    if (!hit.Anchor.empty()) {
        if (hit.Anchor != hovering_.LastAnchor || hit.AnchorRect != hovering_.AnchorRect ||
            hovering_.Anchor == -1) {
            host_.ReportHoverAnchor(hovering_.Anchor);
            if (settings.Hover && hit.AnchorRect.Left != -1) {
                host_.InvalidateBehind(hovering_.AnchorRect);
            }
        }
        if (!host_.ShowsHand() || hit.Anchor != hovering_.LastAnchor ||
            hovering_.LastAnchorNumber != hovering_.Anchor) {
            if (settings.AnchorHint) {
                host_.HideHint();
            }
            host_.ShowCursor(ControlCursor::Hand);
            host_.AnchorEntered(hit.Anchor);
            if (settings.Hover) {
                RepaintHoverChange(hit.AnchorRect);
            }
        }
        hovering_.LastAnchor = hit.Anchor;
        hovering_.LastAnchorNumber = hovering_.Anchor;
        hovering_.AnchorRect = hit.AnchorRect;
        if (settings.Hover) {
            host_.InvalidateBehind(hovering_.AnchorRect);
        }
    } else if (host_.ShowsHand()) {
        host_.ShowCursor(ControlCursor::Arrow);
        host_.AnchorExited();
        if (settings.Hover) {
            RepaintHoverChange(hovering_.AnchorRect);
        }
        hovering_.AnchorRect = {-1, -1, -1, -1};
    }
}

void LabelCore::MousePress(std::int32_t x, std::int32_t y) {
    const AnchorHit hit = host_.HitAt(x, y);
    if (!hit.Anchor.empty()) {
        host_.OpenAnchor(hit.Anchor, AnchorAction::Click);
    }
}

void LabelCore::MouseLeave(PointerSettings settings) {
    if (settings.Hover && hovering_.Anchor != -1) {
        host_.InvalidateBehind(hovering_.AnchorRect);
    }
    hovering_.Anchor = -1;
}

bool LabelCore::Key(ControlKey key) {
    if (key != ControlKey::Enter && key != ControlKey::Space) {
        return false;
    }
    // The target is read as it is drawn, so that it is the one the frame is on.
    host_.PaintNow(true);
    if (!focusHref_.empty()) {
        host_.OpenAnchor(focusHref_, AnchorAction::Click);
    }
    return true;
}

} // namespace velmora
