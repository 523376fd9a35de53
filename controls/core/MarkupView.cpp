#include "controls/core/MarkupView.h"

#include "controls/core/MarkupLinks.h"

#include <algorithm>

namespace velmora {

MarkupRequest MarkupView::NewRequest(const Rect& bounds, Point mouse, std::int32_t focus) const {
    MarkupRequest request = RequestFor(settings_, hovering_, bounds, mouse, focus);
    surface_.ShapeRequest(request);
    return request;
}

MarkupCall MarkupView::NewCall(Canvas& canvas, std::string_view markup, const Rect& bounds, Point mouse,
                               std::int32_t focus) const {
    MarkupCall call(canvas);
    call.Sources = surface_.Sources();
    call.Request = NewRequest(bounds, mouse, focus);
    call.Request.Markup = markup;
    call.Kept = &keptLayouts_;
    return call;
}

MarkupRequest MarkupView::HitRequest(const Rect& bounds, std::int32_t x, std::int32_t y) const {
    MarkupRequest request = NewRequest(bounds, {x, y}, -1);
    MakeHitRequest(request);
    return request;
}

void MarkupView::AlignVertically(Canvas& canvas, const std::string& markup, Rect& bounds, Point mouse,
                                 std::int32_t focus) {
    if (settings_.VAlignment != tvaCenter && settings_.VAlignment != tvaBottom) {
        return;
    }
    MarkupCall measure = NewCall(canvas, markup, bounds, mouse, focus);
    measure.Request.NoDraw = true;
    surface_.Render(measure);
    ApplyVAlignment(settings_.VAlignment, bounds, measure.Result.TextHeight, surface_.ClientSize().Height);
}

bool MarkupView::KeptHit(const std::string& markup, Rect bounds, std::int32_t x, std::int32_t y,
                         MarkupResult& result, bool& found) const {
    const MarkupSources sources = surface_.Sources();
    const std::int32_t dpiX = surface_.DpiX();
    const std::int32_t dpiY = surface_.DpiY();
    if (settings_.VAlignment == tvaCenter || settings_.VAlignment == tvaBottom) {
        MarkupRequest measure = NewRequest(bounds, {x, y}, -1);
        measure.Markup = markup;
        measure.NoDraw = true;
        const KeptLayout* measured = keptLayouts_.WithHits(sources, measure, settings_.Font, dpiX, dpiY);
        if (measured == nullptr) {
            return false;
        }
        ApplyVAlignment(settings_.VAlignment, bounds, measured->TextHeight, surface_.ClientSize().Height);
    }
    hitBounds_ = bounds;
    MarkupRequest request = HitRequest(bounds, x, y);
    request.Markup = markup;
    const KeptLayout* kept = keptLayouts_.WithHits(sources, request, settings_.Font, dpiX, dpiY);
    if (kept == nullptr) {
        return false;
    }
    found = kept->Hit(request, result);
    return true;
}

AnchorHit MarkupView::HitTest(Rect bounds, std::int32_t x, std::int32_t y) {
    const std::string markup = surface_.Markup();
    MarkupResult result;
    bool found = false;
    if (!KeptHit(markup, bounds, x, y, result, found)) {
        surface_.WithMeasureCanvas([&](Canvas& canvas) {
            // Aligned as the paint aligns.
            AlignVertically(canvas, markup, bounds, {x, y}, -1);
            hitBounds_ = bounds;
            MarkupCall call = NewCall(canvas, markup, bounds, {x, y}, -1);
            call.Request = HitRequest(bounds, x, y);
            call.Request.Markup = markup;
            found = surface_.Render(call);
            result = std::move(call.Result);
        });
    }
    AnchorHit hit;
    hovering_.Anchor = found ? result.HitAnchorNumber : -1;
    hit.AnchorRect = result.HitAnchorRect;
    if (found) {
        hit.Anchor = std::move(result.HitAnchor);
    }
    return hit;
}

std::vector<Point> MarkupView::LinkProbes(const std::string& markup) {
    // A hit test lays the text out and keeps it where the control's hit tests find it.
    surface_.AnchorAt(-1, -1);
    MarkupRequest request = HitRequest(hitBounds_, -1, -1);
    request.Markup = markup;
    if (const KeptLayout* kept = keptLayouts_.WithHits(surface_.Sources(), request, settings_.Font,
                                                       surface_.DpiX(), surface_.DpiY())) {
        return kept->AnchorPoints();
    }
    // A text whose pictures change with the point is not kept: every few pixels are tried instead, and
    // each anchor's whole rectangle comes with any hit on it.
    const Size size = surface_.ClientSize();
    std::vector<Point> points;
    constexpr int kStep = 3;
    for (int y = 0; y < size.Height; y += kStep) {
        for (int x = 0; x < size.Width; x += kStep) {
            points.push_back({x, y});
        }
    }
    return points;
}

const std::vector<LinkPlace>& MarkupView::Links() {
    const std::string markup = surface_.Markup();
    const Size size = surface_.ClientSize();
    if (linksKnown_ && markup == linksMarkup_ && size == linksSize_) {
        return links_;
    }
    std::vector<LinkPlace> links;
    for (std::string& text : AnchorTexts(markup)) {
        links.push_back(LinkPlace{std::move(text), {}, {}});
    }
    // Found where the mouse finds them; the search leaves the hover state as the mouse left it.
    const std::int32_t hover = hovering_.Anchor;
    std::size_t found = 0;
    for (const Point& point : LinkProbes(markup)) {
        if (found == links.size()) {
            break;
        }
        // Only what the control shows is a link's place.
        if (point.X < 0 || point.Y < 0 || point.X >= size.Width || point.Y >= size.Height) {
            continue;
        }
        const AnchorHit hit = surface_.AnchorAt(point.X, point.Y);
        const std::int32_t number = hovering_.Anchor;
        if (hit.Anchor.empty() || number < 1 || static_cast<std::size_t>(number) > links.size()) {
            continue;
        }
        LinkPlace& link = links[static_cast<std::size_t>(number - 1)];
        if (!link.Bounds.IsEmpty()) {
            continue;
        }
        link.Target = hit.Anchor;
        link.Bounds = hit.AnchorRect;
        ++found;
    }
    hovering_.Anchor = hover;
    links_ = std::move(links);
    linksMarkup_ = markup;
    linksSize_ = size;
    linksKnown_ = true;
    return links_;
}

void MarkupView::FitToText(AutoSizeRules rules, std::int32_t textWidth, std::int32_t textHeight) {
    const auto extent = [](std::int32_t text) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            static_cast<std::int64_t>(text) + kAutoSizeMargin, 0, kMaxControlExtent));
    };
    const Size now = surface_.ClientSize();
    const Size fitted{rules.Horizontal ? extent(textWidth) : now.Width,
                      rules.Vertical ? extent(textHeight) : now.Height};
    // A resize repaints, and that paint fits again: resizing only on a change ends the loop.
    if (fitted != now) {
        surface_.Resize(fitted);
    }
}

} // namespace velmora
