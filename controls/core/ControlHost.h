#pragma once

#include "graphics/Rect.h"

#include <cstdint>
#include <string>

namespace velmora {

// The anchor under a point, as a hit test on the laid-out text finds it.
struct AnchorHit {
    std::string Anchor; // empty when the point is on no anchor
    Rect AnchorRect{-1, -1, -1, -1};
};

// Where the mouse is among the anchors: kept by the controls' pointer handlers, Anchor also by every
// hit test.
struct AnchorHover {
    std::string LastAnchor;
    std::int32_t Anchor = -1;
    std::int32_t LastAnchorNumber = 0;
    Rect AnchorRect;
};

enum class ControlCursor { Arrow, Hand };

// The keys the controls answer; every other key is the window's.
enum class ControlKey { Left, Up, Right, Down, Enter, Space, Other };

// Which of the control's events a link that is not the desktop's reaches.
enum class AnchorAction { Click, Keypress };

// The settings the pointer handlers read, as they stand when the event comes.
struct PointerSettings {
    bool Hover = false;
    bool AnchorHint = false;
};

// What a markup control asks of the window system it lives in. Rectangles are in control coordinates.
// The adapter that implements it owns the control's window; the control's state machine calls it only
// from inside an event the adapter delivered.
class ControlHost {
public:
    virtual ~ControlHost() = default;

    // The anchor under a point, found where the text is drawn; the hit test also sets the hover's Anchor.
    virtual AnchorHit HitAt(std::int32_t x, std::int32_t y) = 0;
    // Asks for a later paint of r, or of the whole control.
    virtual void Invalidate(const Rect& r) = 0;
    virtual void InvalidateAll() = 0;
    // Paints before returning, the frames too when asked, so that what the paint found can be read.
    virtual void PaintNow(bool withFrame) = 0;
    // Whether the control itself shows the hand; a hand inherited from the window does not count.
    virtual bool ShowsHand() const = 0;
    virtual void ShowCursor(ControlCursor cursor) = 0;
    virtual void HideHint() = 0;
    virtual void AnchorEntered(const std::string& anchor) = 0;
    virtual void AnchorExited() = 0;
    // A link chosen by click or key: the desktop opens web and mail links, the control's event the rest.
    virtual void OpenAnchor(const std::string& anchor, AnchorAction action) = 0;
};

} // namespace velmora
