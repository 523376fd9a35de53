#pragma once

#include "controls/core/ControlHost.h"

#include <string>

namespace velmora {

// What the label's window asks besides the common host.
class LabelHost : public ControlHost {
public:
    // The label has no window of its own: what lies under a highlight is the parent's to paint again.
    virtual void InvalidateBehind(const Rect& r) = 0;
    // The number of the anchor the mouse moved onto, for whoever follows the label's debug messages.
    virtual void ReportHoverAnchor(std::int32_t number) = 0;
};

// The label's answers to the mouse and the keyboard: the hand over anchors, the highlight and its
// repaints, and links opened by any mouse button or, with the focus, by Enter or Space.
class LabelCore {
public:
    LabelCore(LabelHost& host, AnchorHover& hovering) : host_(host), hovering_(hovering) {}

    void MouseMove(std::int32_t x, std::int32_t y, PointerSettings settings);
    void MousePress(std::int32_t x, std::int32_t y);
    // The highlight is taken off; the adapter tells the window the mouse left after this.
    void MouseLeave(PointerSettings settings);
    // True when the key was the label's.
    bool Key(ControlKey key);
    void FocusChanged() { host_.InvalidateAll(); }

    // What the last paint drew the focus frame on; empty without the focus.
    void Painted(std::string focusHref) { focusHref_ = std::move(focusHref); }
    const std::string& FocusHref() const { return focusHref_; }

private:
    void RepaintHoverChange(const Rect& rect);

    LabelHost& host_;
    AnchorHover& hovering_;
    std::string focusHref_;
};

} // namespace velmora
