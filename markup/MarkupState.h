#pragma once

#include "graphics/Canvas.h"
#include "graphics/FontState.h"
#include "graphics/TextFormat.h"
#include "markup/MarkupRules.h"
#include "markup/RenderMarkup.h"

#include <optional>
#include <string>

namespace velmora {

class KeptLayout;

// a + b held within kMarkupCoordinateLimit.
inline std::int32_t PositionSum(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    return static_cast<std::int32_t>(sum < -kMarkupCoordinateLimit  ? -kMarkupCoordinateLimit
                                     : sum > kMarkupCoordinateLimit ? kMarkupCoordinateLimit
                                                                    : sum);
}

enum class ParagraphAlignment : std::uint8_t { Left, Right, Center };

// The part of the per-call state that both passes of a line start from.
struct FlowState {
    bool InsideAnchor = false;
    std::string Href;
    std::int32_t AnchorCount = 0;
    std::int32_t ListLevel = 0;
    std::int32_t ImageCounter = 0;
    bool Hidden = false;
    bool Shadow = false;
    bool Subscript = false;
    bool Superscript = false;
    // The open anchor lies under the hit point; its rectangle is recorded when it closes.
    bool RecordAnchor = false;
};

// One of the two running fonts (measuring, drawing), with the font an R tag put aside.
struct RunningFont {
    FontState Font;
    std::optional<FontState> Unrotated;
};

// What one RenderMarkup call keeps while it runs.
struct MarkupCallState {
    MarkupCallState(Canvas& callCanvas, const MarkupSources& callSources, const MarkupRequest& callRequest,
                    MarkupResult& callResult)
        : Sources(callSources), Request(callRequest), Result(callResult), Rules(RulesFor(callRequest.Flavor)),
          Target(callCanvas), BaseFont(Target.Font()) {}

    const MarkupSources& Sources;
    const MarkupRequest& Request;
    MarkupResult& Result;
    const MarkupRules Rules;
    Canvas& Target;
    FontState BaseFont;
    // Of the markup, from its mark; the running fonts carry it to the canvas.
    TextEncoding Encoding = TextEncoding::Windows1252;
    TColor Background = clNone; // the brush colour at entry
    TextFormat MeasureFormat = 0;
    TextFormat DrawFormat = 0;

    FlowState Flow;
    bool ErrorUnderline = false;
    ParagraphAlignment Alignment = ParagraphAlignment::Left;
    std::int32_t Indent = 0;
    Point AnchorStart;
    Rect FocusRect;
    // The number of the picture last found under the hit point; it shows its ALT picture.
    std::int32_t HitImage = -1;
    // A P background is on: every later line's band is filled with the background first.
    bool ParagraphBand = false;
    // Where a hit-testing second pass leaves what decides its hits; null when nothing is kept.
    KeptLayout* KeptHits = nullptr;
    // The widths of the drawn runs: read from a kept layout (next names the one to read), or written.
    std::vector<std::int32_t>* DrawnWidths = nullptr;
    bool ReadsDrawnWidths = false;
    std::size_t NextDrawnWidth = 0;
    // An ALT picture was met: what the line holds then depends on the hit point.
    bool LayoutFollowsHitPoint = false;

    TColor SavedFontBackground = clNone;
    TColor SavedHighlightText = clNone;
    TColor SavedHighlightBackground = clNone;
    TColor SavedParagraphBackground = clNone;
    TColor SavedAnchorBackground = clNone;
    TColor SavedAnchorText = clNone;
};

// Per line, shared by both passes.
struct LineValues {
    std::int32_t Height = 0;
    std::int32_t SuperscriptOffset = 0;
    std::int32_t SubscriptOffset = 0;
    std::int32_t TextOffset = 0;
};

} // namespace velmora
