#pragma once

#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "markup/RenderMarkup.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The lines a RenderMarkup call laid out, kept by the control that asked for them so that its next
// paints and hit tests need not lay the text out again. A call given a kept layout uses it when it was
// made for the same markup, bounds, base font, resolution, wrapping, flavour, line spacing and sources,
// and fills it otherwise. The owner forgets it when what the sources hold changes (a picture, the
// image list's images, a container's items), which the layout cannot see.
class KeptLayout {
public:
    // Whether a call with this request, on a canvas with this base font and resolution, would lay out
    // the lines kept here; hit tests are answered without a canvas only when HasHits() holds too.
    bool Answers(const MarkupSources& sources, const MarkupRequest& request, const FontState& baseFont,
                 std::int32_t pixelsPerInchX, std::int32_t pixelsPerInchY) const;
    bool HasHits() const { return hitsKept_; }
    // What a hit-testing call (noDraw) at request's point would return, from the kept lines alone.
    bool Hit(const MarkupRequest& request, MarkupResult& result) const;
    void Forget() { *this = KeptLayout(); }
    // A point on every run of anchor text and every linked picture, in text order: where a hit test
    // finds each anchor without searching the whole bounds.
    std::vector<Point> AnchorPoints() const;

    // Written by RenderMarkup.
    struct Line {
        std::string consumed; // what the measuring pass took, for the second pass
        std::int32_t height = 0;
        std::int32_t superscriptOffset = 0;
        std::int32_t subscriptOffset = 0;
        std::int32_t textOffset = 0;
        Rect drawRect;
        std::uint8_t alignment = 0; // as the measuring pass left it
        std::int32_t indent = 0;
    };
    // What decides a hit on one line's second pass, in the order the pass met it.
    struct HitEvent {
        enum class Kind : std::uint8_t { Text, Image, AnchorEnd } kind = Kind::Text;
        std::int64_t from = 0; // from the line's left: Text inclusive, Image exclusive
        std::int64_t to = 0;
        std::int64_t top = 0;     // Image: exclusive bounds of the picture; Text: the line's top
        std::int64_t bottom = 0;  // Image only
        std::int32_t bandTop = 0; // Text: the text band at the run, exclusive
        std::int32_t bandBottom = 0;
        std::int32_t href = 0; // index into hrefs
        std::int32_t anchorNumber = 0;
        Rect anchorRect;
    };
    struct HitLine {
        std::int32_t left = 0;
        std::int32_t bandTop = 0; // the band the line's text hit must lie in, exclusive
        std::int32_t bandBottom = 0;
        std::size_t endEvent = 0;
    };

    struct Key {
        std::string markup;
        Rect bounds;
        FontState baseFont;
        std::int32_t pixelsPerInchX = 0;
        std::int32_t pixelsPerInchY = 0;
        bool wordWrap = true;
        bool printing = false;
        double imageScale = 1.0;
        MarkupFlavor flavor = MarkupFlavor::Label;
        std::int32_t lineSpacing = 0;
        const ImageList* imageList = nullptr;
        const THTMLPictureCache* pictureCache = nullptr;
        const TPictureContainer* pictureContainer = nullptr;
        const ShellIconSource* shellIcons = nullptr;

        friend bool operator==(const Key&, const Key&) = default;
    };
    static Key KeyFor(const MarkupSources& sources, const MarkupRequest& request, const FontState& baseFont,
                      std::int32_t pixelsPerInchX, std::int32_t pixelsPerInchY);

    Key key;
    bool linesKept = false;
    std::vector<Line> lines;
    std::string plainText;
    std::int32_t measuredWidth = 0; // the widest line of the measuring passes

    // How far each drawn run reached, in drawing order: a later paint of the same lines draws the same
    // runs in the same fonts but for their colours and underlines, which move nothing.
    std::vector<std::int32_t> drawnWidths;
    bool drawnWidthsKept = false;

    std::vector<HitLine> hitLines;
    std::vector<HitEvent> hitEvents;
    std::vector<std::string> hrefs;
    std::int32_t hitTextWidth = 0;
    std::int32_t textHeight = 0;
    std::int32_t anchorCount = 0;

    void KeepHits() { hitsKept_ = true; }

private:
    bool hitsKept_ = false;
};

// A few kept layouts for one control: its paint, its hit tests and its measurements for vertical
// alignment lay the same text out in different bounds.
class KeptLayouts {
public:
    // The kept layout that answers this call, or the one to fill for it.
    KeptLayout& For(const MarkupSources& sources, const MarkupRequest& request, const FontState& baseFont,
                    std::int32_t pixelsPerInchX, std::int32_t pixelsPerInchY);
    // The kept layout that answers hit tests for this call without a canvas, if any.
    const KeptLayout* WithHits(const MarkupSources& sources, const MarkupRequest& request,
                               const FontState& baseFont, std::int32_t pixelsPerInchX,
                               std::int32_t pixelsPerInchY) const;
    void Forget();

private:
    std::array<KeptLayout, 4> layouts_;
    std::size_t next_ = 0;
};

// As RenderMarkup, and the same answers, reading from kept what still holds and leaving in it what the
// call laid out.
bool RenderMarkup(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request,
                  MarkupResult& result, KeptLayout& kept);

} // namespace velmora
