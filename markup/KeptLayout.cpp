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
    return {std::string(request.markup),
            request.bounds,
            LayoutFont(baseFont),
            pixelsPerInchX,
            pixelsPerInchY,
            request.wordWrap,
            request.printing,
            request.imageScale,
            request.flavor,
            request.lineSpacing,
            sources.imageList,
            sources.pictureCache,
            sources.pictureContainer,
            sources.shellIcons};
}

bool KeptLayout::Answers(const MarkupSources& sources, const MarkupRequest& request,
                         const FontState& baseFont, std::int32_t pixelsPerInchX,
                         std::int32_t pixelsPerInchY) const {
    // The markup is compared first: it is what differs when anything does, and the cheapest to tell.
    return linesKept && !request.measureOnly && request.markup == key.markup &&
           request.bounds == key.bounds &&
           key == KeyFor(sources, request, baseFont, pixelsPerInchX, pixelsPerInchY);
}

bool KeptLayout::Hit(const MarkupRequest& request, MarkupResult& result) const {
    result.plainText = plainText;
    result.focusHref.clear();
    result.textWidth = hitTextWidth;
    result.textHeight = textHeight;
    result.anchorCount = anchorCount;
    result.hitAnchorNumber = -1;
    result.hitAnchorRect = {-1, -1, -1, -1};
    // The same tests in the same order as the second passes make them, so that the last word is the same.
    const std::int64_t y = request.hitY;
    bool hit = false;
    bool recordAnchor = false;
    std::size_t e = 0;
    for (const HitLine& line : hitLines) {
        const std::int64_t x = std::int64_t{request.hitX} - line.left;
        bool textHit = false;
        bool imageHit = false;
        for (; e < line.endEvent; ++e) {
            const HitEvent& event = hitEvents[e];
            switch (event.kind) {
            case HitEvent::Kind::Text:
                if (x >= event.from && x <= event.to) {
                    textHit = true;
                    if (y > event.top) {
                        result.hitAnchor = hrefs[static_cast<std::size_t>(event.href)];
                    }
                    recordAnchor = recordAnchor || (event.bandTop < y && y < event.bandBottom);
                }
                break;
            case HitEvent::Kind::Image:
                if (x > event.from && x < event.to && y > event.top && y < event.bottom) {
                    result.hitAnchor = hrefs[static_cast<std::size_t>(event.href)];
                    imageHit = true;
                }
                break;
            case HitEvent::Kind::AnchorEnd:
                if (recordAnchor) {
                    result.hitAnchorRect = event.anchorRect;
                    result.hitAnchorNumber = event.anchorNumber;
                    recordAnchor = false;
                }
                break;
            }
        }
        if ((textHit && line.bandTop < y && y < line.bandBottom) || imageHit) {
            hit = true;
        }
    }
    return hit;
}

std::vector<Point> KeptLayout::AnchorPoints() const {
    std::vector<Point> points;
    std::size_t e = 0;
    for (const HitLine& line : hitLines) {
        for (; e < line.endEvent; ++e) {
            const HitEvent& event = hitEvents[e];
            std::int64_t x = line.left + (event.from + event.to) / 2;
            std::int64_t y = 0;
            if (event.kind == HitEvent::Kind::Text) {
                y = (std::max(event.bandTop, line.bandTop) + std::min(event.bandBottom, line.bandBottom)) / 2;
            } else if (event.kind == HitEvent::Kind::Image) {
                y = (event.top + event.bottom) / 2;
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
