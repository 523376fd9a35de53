#include "markup/KeptLayout.h"

#include <algorithm>

namespace velmora {
namespace {

// Only the font's colour leaves the lines where they are.
FontState LayoutFont(FontState font) {
    font.Color = clNone;
    return font;
}

} // namespace

KeptLayout::Key KeptLayout::KeyFor(const MarkupSources& sources, const MarkupRequest& request,
                                   const FontState& baseFont, std::int32_t pixelsPerInchX,
                                   std::int32_t pixelsPerInchY) {
    return {std::string(request.Markup),
            request.Bounds,
            LayoutFont(baseFont),
            pixelsPerInchX,
            pixelsPerInchY,
            request.WordWrap,
            request.Printing,
            request.ImageScale,
            request.Flavor,
            request.LineSpacing,
            sources.Images,
            sources.PictureCache,
            sources.PictureContainer,
            sources.ShellIcons};
}

bool KeptLayout::Answers(const MarkupSources& sources, const MarkupRequest& request,
                         const FontState& baseFont, std::int32_t pixelsPerInchX,
                         std::int32_t pixelsPerInchY) const {
    // The markup is compared first: it is what differs when anything does, and the cheapest to tell.
    return LinesKept && !request.MeasureOnly && request.Markup == LaidOutFor.Markup &&
           request.Bounds == LaidOutFor.Bounds &&
           LaidOutFor == KeyFor(sources, request, baseFont, pixelsPerInchX, pixelsPerInchY);
}

bool KeptLayout::Hit(const MarkupRequest& request, MarkupResult& result) const {
    result.PlainText = PlainText;
    result.FocusHref.clear();
    result.TextWidth = HitTextWidth;
    result.TextHeight = TextHeight;
    result.AnchorCount = AnchorCount;
    result.HitAnchorNumber = -1;
    result.HitAnchorRect = {-1, -1, -1, -1};
    // The same tests in the same order as the second passes make them, so that the last word is the same.
    const std::int64_t y = request.HitY;
    bool hit = false;
    bool recordAnchor = false;
    std::size_t e = 0;
    for (const HitLine& line : HitLines) {
        const std::int64_t x = std::int64_t{request.HitX} - line.Left;
        bool textHit = false;
        bool imageHit = false;
        for (; e < line.EndEvent; ++e) {
            const HitEvent& event = HitEvents[e];
            switch (event.Kind) {
            case HitEvent::Kind::Text:
                if (x >= event.From && x <= event.To) {
                    textHit = true;
                    if (y > event.Top) {
                        result.HitAnchor = Hrefs[static_cast<std::size_t>(event.Href)];
                    }
                    recordAnchor = recordAnchor || (event.BandTop < y && y < event.BandBottom);
                }
                break;
            case HitEvent::Kind::Image:
                if (x > event.From && x < event.To && y > event.Top && y < event.Bottom) {
                    result.HitAnchor = Hrefs[static_cast<std::size_t>(event.Href)];
                    imageHit = true;
                }
                break;
            case HitEvent::Kind::AnchorEnd:
                if (recordAnchor) {
                    result.HitAnchorRect = event.AnchorRect;
                    result.HitAnchorNumber = event.AnchorNumber;
                    recordAnchor = false;
                }
                break;
            }
        }
        if ((textHit && line.BandTop < y && y < line.BandBottom) || imageHit) {
            hit = true;
        }
    }
    return hit;
}

std::vector<Point> KeptLayout::AnchorPoints() const {
    std::vector<Point> points;
    std::size_t e = 0;
    for (const HitLine& line : HitLines) {
        for (; e < line.EndEvent; ++e) {
            const HitEvent& event = HitEvents[e];
            std::int64_t x = line.Left + (event.From + event.To) / 2;
            std::int64_t y = 0;
            if (event.Kind == HitEvent::Kind::Text) {
                y = (std::max(event.BandTop, line.BandTop) + std::min(event.BandBottom, line.BandBottom)) / 2;
            } else if (event.Kind == HitEvent::Kind::Image) {
                y = (event.Top + event.Bottom) / 2;
            } else {
                continue;
            }
            x = std::clamp<std::int64_t>(x, -kMarkupCoordinateLimit, kMarkupCoordinateLimit);
            y = std::clamp<std::int64_t>(y, -kMarkupCoordinateLimit, kMarkupCoordinateLimit);
            points.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
        }
    }
    return points;
}

KeptLayout& KeptLayouts::For(const MarkupSources& sources, const MarkupRequest& request,
                             const FontState& baseFont, std::int32_t pixelsPerInchX,
                             std::int32_t pixelsPerInchY) {
    for (KeptLayout& layout : layouts_) {
        if (layout.Answers(sources, request, baseFont, pixelsPerInchX, pixelsPerInchY)) {
            return layout;
        }
    }
    KeptLayout& replaced = layouts_[next_];
    next_ = (next_ + 1) % layouts_.size();
    return replaced;
}

const KeptLayout* KeptLayouts::WithHits(const MarkupSources& sources, const MarkupRequest& request,
                                        const FontState& baseFont, std::int32_t pixelsPerInchX,
                                        std::int32_t pixelsPerInchY) const {
    for (const KeptLayout& layout : layouts_) {
        if (layout.HasHits() && layout.Answers(sources, request, baseFont, pixelsPerInchX, pixelsPerInchY)) {
            return &layout;
        }
    }
    return nullptr;
}

void KeptLayouts::Forget() {
    for (KeptLayout& layout : layouts_) {
        layout.Forget();
    }
}

} // namespace velmora
