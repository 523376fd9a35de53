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
        std::string Consumed; // what the measuring pass took, for the second pass
        std::int32_t Height = 0;
        std::int32_t SuperscriptOffset = 0;
        std::int32_t SubscriptOffset = 0;
        std::int32_t TextOffset = 0;
        Rect DrawRect;
        std::uint8_t Alignment = 0; // as the measuring pass left it
        std::int32_t Indent = 0;
    };
    // What decides a hit on one line's second pass, in the order the pass met it.
    struct HitEvent {
        enum class Kind : std::uint8_t { Text, Image, AnchorEnd } Kind = Kind::Text;
        std::int64_t From = 0; // from the line's left: Text inclusive, Image exclusive
        std::int64_t To = 0;
        std::int64_t Top = 0;     // Image: exclusive bounds of the picture; Text: the line's top
        std::int64_t Bottom = 0;  // Image only
        std::int32_t BandTop = 0; // Text: the text band at the run, exclusive
        std::int32_t BandBottom = 0;
        std::int32_t Href = 0; // index into hrefs
        std::int32_t AnchorNumber = 0;
        Rect AnchorRect;
    };
    struct HitLine {
        std::int32_t Left = 0;
        std::int32_t BandTop = 0; // the band the line's text hit must lie in, exclusive
        std::int32_t BandBottom = 0;
        std::size_t EndEvent = 0;
    };

    struct Key {
        std::string Markup;
        Rect Bounds;
        FontState BaseFont;
        std::int32_t PixelsPerInchX = 0;
        std::int32_t PixelsPerInchY = 0;
        bool WordWrap = true;
        bool Printing = false;
        double ImageScale = 1.0;
        MarkupFlavor Flavor = MarkupFlavor::Label;
        std::int32_t LineSpacing = 0;
        const ImageList* Images = nullptr;
        const THTMLPictureCache* PictureCache = nullptr;
        const TPictureContainer* PictureContainer = nullptr;
        const ShellIconSource* ShellIcons = nullptr;

        friend bool operator==(const Key&, const Key&) = default;
    };
    static Key KeyFor(const MarkupSources& sources, const MarkupRequest& request, const FontState& baseFont,
                      std::int32_t pixelsPerInchX, std::int32_t pixelsPerInchY);

    Key LaidOutFor;
    bool LinesKept = false;
    std::vector<Line> Lines;
    std::string PlainText;
    std::int32_t MeasuredWidth = 0; // the widest line of the measuring passes

    // How far each drawn run reached, in drawing order: a later paint of the same lines draws the same
    // runs in the same fonts but for their colours and underlines, which move nothing.
    std::vector<std::int32_t> DrawnWidths;
    bool DrawnWidthsKept = false;

    std::vector<HitLine> HitLines;
    std::vector<HitEvent> HitEvents;
    std::vector<std::string> Hrefs;
    std::int32_t HitTextWidth = 0;
    std::int32_t TextHeight = 0;
    std::int32_t AnchorCount = 0;

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
