#include "markup/RenderMarkup.h"

#include "markup/KeptLayout.h"
#include "markup/MarkupEncoding.h"
#include "markup/MarkupEntities.h"
#include "markup/MarkupLine.h"
#include "markup/MarkupState.h"

#include <algorithm>
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

// One call: fresh, or reading its lines from kept (replay), and leaving in kept what it laid out.
bool Lay(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request, MarkupResult& result,
         KeptLayout* kept, bool replay) {
    MarkupCallState state(canvas, sources, request, result);
    state.Encoding = MarkupEncoding(request.markup);
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

    const bool keepHits = kept != nullptr && request.noDraw && !kept->HasHits();
    if (keepHits) {
        kept->hitLines.clear();
        kept->hitEvents.clear();
        kept->hrefs.clear();
        state.keptHits = kept;
    }
    if (kept != nullptr && !request.noDraw) {
        state.drawnWidths = &kept->drawnWidths;
        state.readsDrawnWidths = kept->drawnWidthsKept;
        if (!kept->drawnWidthsKept) {
            kept->drawnWidths.clear();
        }
    }
    std::string prepared;
    std::string_view text;
    if (replay) {
        result.textWidth = kept->measuredWidth;
        result.plainText = kept->plainText;
    } else {
        prepared = PrepareMarkup(WithoutEncodingMark(request.markup), state.Encoding);
        text = prepared;
    }
    FontState runningFont = state.baseFont;
    runningFont.Encoding = state.Encoding;
    RunningFont measureFont{runningFont, {}};
    RunningFont drawFont{runningFont, {}};
    const Rect& bounds = request.bounds;
    std::int32_t lineTop = bounds.Top;
    bool hit = false;

    for (std::size_t index = 0; replay ? index < kept->lines.size() : !text.empty(); ++index) {
        state.flow.subscript = false;
        state.flow.superscript = false;
        LineValues line;
        Rect drawRect;
        std::string_view consumed;
        std::int32_t probeHeight = 0;
        std::string measuredText;
        if (replay) {
            const KeptLayout::Line& k = kept->lines[index];
            line = {k.height, k.superscriptOffset, k.subscriptOffset, k.textOffset};
            drawRect = k.drawRect;
            state.alignment = static_cast<ParagraphAlignment>(k.alignment);
            state.indent = k.indent;
            consumed = k.consumed;
        } else {
            canvas.SetFont(measureFont.font);
            const FlowState lineStart = state.flow;
            line.height = canvas.TextHeight("gh");
            probeHeight = line.height;
            const Rect lineRect{bounds.Left + 1, lineTop, bounds.Right, bounds.Bottom};
            LineResult measured =
                RenderMarkupLine(state, measureFont, text, lineRect, LinePass::Measure, line);
            if (state.rules.lineSpacing) {
                line.height += request.lineSpacing;
            }
            // Measuring alone carries its state from line to line; otherwise the second pass does.
            if (!request.measureOnly) {
                state.flow = lineStart;
            }
            drawRect = AlignedLineRect(state, lineRect, measured.xExtent);
            drawRect.Bottom = lineTop + line.height + line.subscriptOffset + line.superscriptOffset;
            measuredText = std::move(measured.consumed);
            consumed = measuredText;
            if (kept != nullptr) {
                kept->measuredWidth = std::max(kept->measuredWidth, measured.xExtent);
                kept->lines.push_back({measuredText, line.height, line.superscriptOffset,
                                       line.subscriptOffset, line.textOffset, drawRect,
                                       static_cast<std::uint8_t>(state.alignment), state.indent});
            }
        }
        const std::int32_t lineAdvance = line.height + line.subscriptOffset + line.superscriptOffset;

        if (!request.measureOnly) {
            canvas.SetFont(drawFont.font);
            const LineResult second =
                RenderMarkupLine(state, drawFont, consumed, drawRect, LinePass::Second, line);
            const std::int32_t bottom = drawRect.Bottom - line.textOffset;
            const std::int32_t probe = canvas.TextHeight("gh");
            if ((second.textHit && bottom - probe < request.hitY && request.hitY < bottom) ||
                second.imageHit) {
                hit = true;
            }
            if (keepHits) {
                kept->hitLines.push_back({drawRect.Left, bottom - probe, bottom, kept->hitEvents.size()});
            }
        }
        result.anchorCount = state.flow.anchorCount;
        lineTop += lineAdvance;
        result.textHeight += lineAdvance;
        // A line the bounds would cut is dropped with all after it, rather than shown in part; measuring
        // goes on, so that a control can size itself to the whole text.
        if (!replay && !request.measureOnly && lineTop + probeHeight > bounds.Bottom) {
            break;
        }
    }
    if (result.textHeight == 0) {
        result.textHeight = canvas.TextHeight("gh");
    }
    canvas.SetBrush(entryBrush);
    canvas.SetFont(state.baseFont);
    if (kept != nullptr && !replay) {
        kept->plainText = result.plainText;
        kept->linesKept = true;
    }
    if (state.drawnWidths != nullptr) {
        kept->drawnWidthsKept = true;
    }
    if (keepHits) {
        kept->hitTextWidth = result.textWidth;
        kept->textHeight = result.textHeight;
        kept->anchorCount = result.anchorCount;
        kept->KeepHits();
    }
    if (kept != nullptr && state.layoutFollowsHitPoint) {
        kept->Forget();
    }
    return hit;
}

} // namespace

bool RenderMarkup(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request,
                  MarkupResult& result) {
    return Lay(canvas, sources, request, result, nullptr, false);
}

bool RenderMarkup(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request,
                  MarkupResult& result, KeptLayout& kept) {
    // Measuring every line below the bounds is rare and kept by no one.
    if (request.measureOnly) {
        return RenderMarkup(canvas, sources, request, result);
    }
    if (kept.Answers(sources, request, canvas.Font(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY())) {
        if (request.noDraw && kept.HasHits()) {
            return kept.Hit(request, result);
        }
        return Lay(canvas, sources, request, result, &kept, true);
    }
    kept.Forget();
    kept.key =
        KeptLayout::KeyFor(sources, request, canvas.Font(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
    return Lay(canvas, sources, request, result, &kept, false);
}

bool MarkupCall::Run() {
    if (kept == nullptr) {
        return RenderMarkup(canvas, sources, request, result);
    }
    KeptLayout& layout =
        kept->For(sources, request, canvas.Font(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
    return RenderMarkup(canvas, sources, request, result, layout);
}

} // namespace velmora
