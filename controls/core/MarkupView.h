#pragma once

#include "controls/core/ControlHost.h"
#include "controls/core/MarkupGeometry.h"
#include "controls/core/MarkupSettings.h"
#include "graphics/Canvas.h"
#include "markup/KeptLayout.h"
#include "markup/RenderMarkup.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One link as the control shows it.
struct LinkPlace {
    std::string Text;   // plain
    std::string Target; // empty when no part of it is drawn
    Rect Bounds;        // control coordinates; empty when no part of it is drawn
};

// What a markup control's window lends the view: its text, its pictures, its size and resolution, a
// canvas to measure on, and what the control's kind adds to every call.
class MarkupSurface {
public:
    virtual ~MarkupSurface() = default;

    virtual std::string Markup() const = 0;
    virtual MarkupSources Sources() const = 0;
    // The control's kind decides its flavour, wrapping and blinking in every request.
    virtual void ShapeRequest(MarkupRequest& request) const = 0;
    virtual bool Render(MarkupCall& call) { return call.Run(); }
    // A canvas with the control's font and background colour at the control's resolution; valid during
    // `use` only.
    virtual void WithMeasureCanvas(const std::function<void(Canvas&)>& use) = 0;
    virtual Size ClientSize() const = 0;
    virtual std::int32_t DpiX() const = 0;
    virtual std::int32_t DpiY() const = 0;
    virtual void Resize(Size size) = 0;
    // The control's hit test, with the bounds its kind lays the text out in.
    virtual AnchorHit AnchorAt(std::int32_t x, std::int32_t y) = 0;
};

// The largest width or height a control that sizes itself to its text takes.
inline constexpr std::int32_t kMaxControlExtent = 16777215;

// How a markup control lays its text out, finds what lies under a point and where its links are, and
// fits itself to its text, whatever window system draws it.
class MarkupView {
public:
    MarkupView(MarkupSurface& surface, const MarkupSettings& settings, AnchorHover& hovering)
        : surface_(surface), settings_(settings), hovering_(hovering) {}

    const MarkupSettings& Settings() const { return settings_; }
    MarkupSurface& Surface() const { return surface_; }

    // What every call asks: where, the point to hit, the focus, the hover, shadow and link settings, and
    // what the surface's ShapeRequest adds.
    MarkupRequest NewRequest(const Rect& bounds, Point mouse, std::int32_t focus) const;
    // Every call of the control starts here; the markup must outlive the call.
    MarkupCall NewCall(Canvas& canvas, std::string_view markup, const Rect& bounds, Point mouse,
                       std::int32_t focus) const;
    MarkupRequest HitRequest(const Rect& bounds, std::int32_t x, std::int32_t y) const;
    // Moves bounds down for centred or bottom text, measured as the paint lays it out.
    void AlignVertically(Canvas& canvas, const std::string& markup, Rect& bounds, Point mouse,
                         std::int32_t focus);
    // The anchor under (x, y) with the text laid out in bounds, found where it is drawn; sets the
    // hover's Anchor.
    AnchorHit HitTest(Rect bounds, std::int32_t x, std::int32_t y);
    // The links in text order, found where the mouse finds them; kept while text and size stay.
    const std::vector<LinkPlace>& Links();
    // Takes the size of the text just drawn, plus the margin, in the directions the rules allow.
    void FitToText(AutoSizeRules rules, std::int32_t textWidth, std::int32_t textHeight);
    // The layouts laid out last are laid out again: what the pictures hold has changed.
    void ForgetLayouts() { keptLayouts_.Forget(); }

private:
    // A hit test answered from the kept layouts alone; false when none answers it.
    bool KeptHit(const std::string& markup, Rect bounds, std::int32_t x, std::int32_t y, MarkupResult& result,
                 bool& found) const;
    // Points that find every link: one on each anchor run of the kept layout.
    std::vector<Point> LinkProbes(const std::string& markup);

    MarkupSurface& surface_;
    const MarkupSettings& settings_;
    AnchorHover& hovering_;
    // The layouts this control's calls made last, reused while nothing that moves the lines changes.
    mutable KeptLayouts keptLayouts_;
    // Where the last hit test laid the text out, after vertical alignment.
    mutable Rect hitBounds_;
    std::string linksMarkup_;
    Size linksSize_;
    std::vector<LinkPlace> links_;
    bool linksKnown_ = false;
};

} // namespace velmora
