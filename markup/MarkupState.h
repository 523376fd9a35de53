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
    bool insideAnchor = false;
    std::string href;
    std::int32_t anchorCount = 0;
    std::int32_t listLevel = 0;
    std::int32_t imageCounter = 0;
    bool hidden = false;
    bool shadow = false;
    bool subscript = false;
    bool superscript = false;
    // The open anchor lies under the hit point; its rectangle is recorded when it closes.
    bool recordAnchor = false;
};

// One of the two running fonts (measuring, drawing), with the font an R tag put aside.
struct RunningFont {
    FontState font;
    std::optional<FontState> unrotated;
};

// What one RenderMarkup call keeps while it runs.
struct MarkupCallState {
    MarkupCallState(Canvas& callCanvas, const MarkupSources& callSources, const MarkupRequest& callRequest,
                    MarkupResult& callResult)
        : sources(callSources), request(callRequest), result(callResult), rules(RulesFor(callRequest.flavor)),
          canvas(callCanvas), baseFont(canvas.Font()) {}

    const MarkupSources& sources;
    const MarkupRequest& request;
    MarkupResult& result;
    const MarkupRules rules;
    Canvas& canvas;
    FontState baseFont;
    // Of the markup, from its mark; the running fonts carry it to the canvas.
    TextEncoding Encoding = TextEncoding::Windows1252;
    TColor background = clNone; // the brush colour at entry
    TextFormat measureFormat = 0;
    TextFormat drawFormat = 0;

    FlowState flow;
    bool errorUnderline = false;
    ParagraphAlignment alignment = ParagraphAlignment::Left;
    std::int32_t indent = 0;
    Point anchorStart;
    Rect focusRect;
    // The number of the picture last found under the hit point; it shows its ALT picture.
    std::int32_t hitImage = -1;
    // A P background is on: every later line's band is filled with the background first.
    bool paragraphBand = false;
    // Where a hit-testing second pass leaves what decides its hits; null when nothing is kept.
    KeptLayout* keptHits = nullptr;
    // The widths of the drawn runs: read from a kept layout (next names the one to read), or written.
    std::vector<std::int32_t>* drawnWidths = nullptr;
    bool readsDrawnWidths = false;
    std::size_t nextDrawnWidth = 0;
    // An ALT picture was met: what the line holds then depends on the hit point.
    bool layoutFollowsHitPoint = false;

    TColor savedFontBackground = clNone;
    TColor savedHighlightText = clNone;
    TColor savedHighlightBackground = clNone;
    TColor savedParagraphBackground = clNone;
    TColor savedAnchorBackground = clNone;
    TColor savedAnchorText = clNone;
};

// Per line, shared by both passes.
struct LineValues {
    std::int32_t height = 0;
    std::int32_t superscriptOffset = 0;
    std::int32_t subscriptOffset = 0;
    std::int32_t textOffset = 0;
};

} // namespace velmora
