#include "markup/RenderMarkup.h"

#include "markup/MarkupEntities.h"
#include "markup/MarkupLine.h"
#include "markup/MarkupState.h"

#include <cstdint>

namespace velmora {
namespace {

constexpr TextFormat kRunFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;

void ChooseFormats(MarkupCallState& state) {
    TextFormat format = kRunFormat;
    if (!state.request.wordWrap) {
        format |= DT_END_ELLIPSIS;
    }
    state.measureFormat = format | DT_CALCRECT;
    state.drawFormat = state.rules.externalLeading ? format : format & ~DT_EXTERNALLEADING;
}

// The indent is a left margin: alignment places the line within what is left of the width after it, so
// a right or centred line wraps and ends where a left one would, never past the right edge.
Rect AlignedLineRect(const MarkupCallState& state, const Rect& lineRect, std::int32_t xExtent) {
    Rect r = lineRect;
    r.Left = PositionSum(r.Left, state.indent);
    const std::int64_t spare = static_cast<std::int64_t>(r.Right) - r.Left - xExtent;
    switch (state.alignment) {
    case ParagraphAlignment::Right:
        if (spare > 0) {
            r.Left = PositionSum(r.Left, spare);
        }
        break;
    case ParagraphAlignment::Center:
        if (spare > 0) {
            r.Left = PositionSum(r.Left, spare / 2);
        }
        break;
    case ParagraphAlignment::Left:
        break;
    }
    return r;
}

} // namespace

bool RenderMarkup(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request,
                  MarkupResult& result) {
    MarkupCallState state(canvas, sources, request, result);
    const TextBatch batch(canvas);
    const Brush entryBrush = canvas.CurrentBrush();
    state.background = entryBrush.Color;
    canvas.SetBrushColor(clNone);
    result.anchorCount = 0;
    result.textWidth = 0;
    result.textHeight = 0;
    result.hitAnchorNumber = -1;
    result.hitAnchorRect = {-1, -1, -1, -1};
    result.plainText.clear();
    result.focusHref.clear();
    ChooseFormats(state);

    const std::string prepared = PrepareMarkup(request.markup);
    std::string_view text = prepared;
    RunningFont measureFont{state.baseFont, {}};
    RunningFont drawFont{state.baseFont, {}};
    const Rect& bounds = request.bounds;
    std::int32_t lineTop = bounds.Top;
    bool hit = false;

    while (!text.empty()) {
        canvas.SetFont(measureFont.font);
        state.flow.subscript = false;
        state.flow.superscript = false;
        const FlowState lineStart = state.flow;
        LineValues line;
        line.height = canvas.TextHeight("gh");
        const std::int32_t probeHeight = line.height;
        const Rect lineRect{bounds.Left + 1, lineTop, bounds.Right, bounds.Bottom};

        const LineResult measured =
            RenderMarkupLine(state, measureFont, text, lineRect, LinePass::Measure, line);
        if (state.rules.lineSpacing) {
            line.height += request.lineSpacing;
        }
        const std::int32_t lineAdvance = line.height + line.subscriptOffset + line.superscriptOffset;

        // Measuring alone carries its state from line to line; otherwise the second pass does.
        if (!request.measureOnly) {
            state.flow = lineStart;
            Rect drawRect = AlignedLineRect(state, lineRect, measured.xExtent);
            drawRect.Bottom = lineTop + lineAdvance;
            canvas.SetFont(drawFont.font);
            std::string_view consumed = measured.consumed;
            const LineResult second =
                RenderMarkupLine(state, drawFont, consumed, drawRect, LinePass::Second, line);
            const std::int32_t bottom = drawRect.Bottom - line.textOffset;
            const std::int32_t probe = canvas.TextHeight("gh");
            if ((second.textHit && bottom - probe < request.hitY && request.hitY < bottom) ||
                second.imageHit) {
                hit = true;
            }
        }
        result.anchorCount = state.flow.anchorCount;
        lineTop += lineAdvance;
        result.textHeight += lineAdvance;
        // A line the bounds would cut is dropped with all after it, rather than shown in part; measuring
        // goes on, so that a control can size itself to the whole text.
        if (!request.measureOnly && lineTop + probeHeight > bounds.Bottom) {
            break;
        }
    }
    if (result.textHeight == 0) {
        result.textHeight = canvas.TextHeight("gh");
    }
    canvas.SetBrush(entryBrush);
    canvas.SetFont(state.baseFont);
    return hit;
}

} // namespace velmora
