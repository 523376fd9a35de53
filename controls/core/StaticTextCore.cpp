#include "controls/core/StaticTextCore.h"

#include <cstdint>

namespace velmora {

void StaticTextCore::MouseMove(std::int32_t x, std::int32_t y, PointerSettings settings) {
    const AnchorHit hit = host_.HitAt(x, y);
    if (!hit.Anchor.empty()) {
        if (hit.AnchorRect.Left == -1) {
            host_.PaintNow(false);
        }
        focusAnchor_ = -1;
        if (settings.Hover && (hit.Anchor != hovering_.LastAnchor || hit.AnchorRect != hovering_.AnchorRect ||
                               hovering_.Anchor == -1 || hovering_.LastAnchorNumber != hovering_.Anchor)) {
            host_.Invalidate(hovering_.AnchorRect);
        }
        if (!host_.ShowsHand() || hit.Anchor != hovering_.LastAnchor) {
            PointToAnchor(hit, settings);
            if (settings.Hover && hit.AnchorRect.Left != -1) {
                host_.Invalidate(hit.AnchorRect);
            }
            hovering_.LastAnchorNumber = hovering_.Anchor;
            hovering_.AnchorRect = hit.AnchorRect;
        }
    } else if (host_.ShowsHand()) {
        host_.ShowCursor(ControlCursor::Arrow);
        focusAnchor_ = -1;
        if (settings.Hover) {
            host_.Invalidate(hovering_.AnchorRect);
            hovering_.Anchor = -1;
            host_.PaintNow(false);
        }
        host_.AnchorExited();
    }
}

void StaticTextCore::PointToAnchor(const AnchorHit& hit, PointerSettings settings) {
    hovering_.LastAnchor = hit.Anchor;
    if (settings.AnchorHint) {
        host_.HideHint();
    }
    host_.ShowCursor(ControlCursor::Hand);
    host_.AnchorEntered(hit.Anchor);
}

void StaticTextCore::MousePress(std::int32_t x, std::int32_t y) {
    buttonDown_ = true;
    if (miniScroll_ && (upArrowShown_ || downArrowShown_)) {
        ScrollByArrowAt(x, y);
    }
    const AnchorHit hit = host_.HitAt(x, y);
    if (!hit.Anchor.empty()) {
        host_.OpenAnchor(hit.Anchor, AnchorAction::Click);
    }
}

void StaticTextCore::MouseEnter(std::int32_t x, std::int32_t y, PointerSettings settings) {
    const AnchorHit hit = host_.HitAt(x, y);
    if (!hit.Anchor.empty() && (!host_.ShowsHand() || hit.Anchor != hovering_.LastAnchor)) {
        PointToAnchor(hit, settings);
        if (settings.Hover) {
            host_.PaintNow(false);
        }
        hovering_.AnchorRect = hit.AnchorRect;
    }
}

void StaticTextCore::MouseLeave(PointerSettings settings) {
    if (hovering_.Anchor >= 0) {
        hovering_.Anchor = -1;
        if (settings.Hover) {
            host_.Invalidate(hovering_.AnchorRect);
        }
    }
}

bool StaticTextCore::Key(ControlKey key) {
    // The frame is painted off the old anchor and onto the new one at once, as the keys repeat.
    if (key == ControlKey::Left || key == ControlKey::Up) {
        host_.PaintNow(false);
        focusAnchor_ = focusAnchor_ <= 0 ? anchorCount_ - 1 : focusAnchor_ - 1;
        host_.PaintNow(false);
        return true;
    }
    if (key == ControlKey::Right || key == ControlKey::Down) {
        host_.PaintNow(false);
        focusAnchor_ = focusAnchor_ < anchorCount_ - 1 ? focusAnchor_ + 1 : 0;
        host_.PaintNow(false);
        return true;
    }
    if (key == ControlKey::Enter || key == ControlKey::Space) {
        // The target is read as the frame is drawn: a key right after Tab comes before that paint.
        host_.PaintNow(true);
        host_.OpenAnchor(focusHref_, AnchorAction::Keypress);
        return true;
    }
    return false;
}

void StaticTextCore::FocusIn() {
    if (focusAnchor_ < 0) {
        focusAnchor_ = 0;
    }
    host_.InvalidateAll();
}

void StaticTextCore::TextChanged() {
    hovering_.Anchor = -1;
    focusAnchor_ = -1;
    host_.InvalidateAll();
}

void StaticTextCore::SetMiniScroll(bool on) {
    if (miniScroll_ == on) {
        return;
    }
    if (!on) {
        scrollOffset_ = 0;
    }
    miniScroll_ = on;
    host_.InvalidateAll();
}

void StaticTextCore::SetAutoScroll(bool on, bool loading) {
    autoScroll_ = on;
    UpdateTimer(false, loading);
}

void StaticTextCore::SetEnableBlink(bool on, bool loading) {
    enableBlink_ = on;
    UpdateTimer(true, loading);
}

void StaticTextCore::UpdateTimer(bool blinkSwitchedOff, bool loading) {
    if (loading) {
        return;
    }
    if ((enableBlink_ || autoScroll_) && !timerRunning_) {
        host_.StartTimer();
        timerRunning_ = true;
    } else if (!enableBlink_ && !autoScroll_ && timerRunning_) {
        host_.StopTimer();
        timerRunning_ = false;
        if (blinkSwitchedOff) {
            host_.InvalidateAll();
            blinkPhase_ = false;
        }
    }
}

void StaticTextCore::ScrollTo(std::int32_t offset) {
    if (!miniScroll_) {
        return;
    }
    if (offset < 0) {
        scrollOffset_ = 0;
        return;
    }
    scrollOffset_ = offset;
    host_.PaintNow(true);
}

void StaticTextCore::ScrollByArrowAt(std::int32_t x, std::int32_t y) {
    const Rect area = host_.TextArea();
    if (upArrowShown_ && x > area.Right - kArrowSize && y < area.Top + kArrowSize) {
        ScrollTo(scrollOffset_ - kScrollStep);
    }
    if (downArrowShown_ && x > area.Right - kArrowSize && y > area.Bottom - kArrowSize) {
        ScrollTo(scrollOffset_ + kScrollStep);
    }
}

void StaticTextCore::Tick() {
    if (!enableBlink_ && !autoScroll_) {
        return;
    }
    tickCount_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(tickCount_) + 1u);
    // Only a picture that stepped to another frame needs the text drawn again.
    if (host_.StepAnimations()) {
        host_.PaintNow(false);
    }
    Point cursor;
    if (miniScroll_ && (upArrowShown_ || downArrowShown_) && (buttonDown_ || autoScroll_) &&
        host_.PointerInside(cursor)) {
        ScrollByArrowAt(cursor.X, cursor.Y);
    }
    if (tickCount_ % kTicksPerBlink == 0 && host_.TextBlinks()) {
        host_.PaintNow(true);
        blinkPhase_ = !blinkPhase_;
    }
}

} // namespace velmora
