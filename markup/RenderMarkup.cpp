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
    if (!state.Request.WordWrap) {
        format |= DT_END_ELLIPSIS;
    }
    state.MeasureFormat = format | DT_CALCRECT;
    state.DrawFormat = state.Rules.ExternalLeading ? format : format & ~DT_EXTERNALLEADING;
}

// The indent is a left margin: alignment places the line within what is left of the width after it, so
// a right or centred line wraps and ends where a left one would, never past the right edge.
Rect AlignedLineRect(const MarkupCallState& state, const Rect& lineRect, std::int32_t xExtent) {
    Rect r = lineRect;
    r.Left = PositionSum(r.Left, state.Indent);
    const std::int64_t spare = static_cast<std::int64_t>(r.Right) - r.Left - xExtent;
    switch (state.Alignment) {
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
    state.Encoding = MarkupEncoding(request.Markup);
    const TextBatch batch(canvas);
    const Brush entryBrush = canvas.CurrentBrush();
    state.Background = entryBrush.Color;
    canvas.SetBrushColor(clNone);
    result.AnchorCount = 0;
    result.TextWidth = 0;
    result.TextHeight = 0;
    result.HitAnchorNumber = -1;
    result.HitAnchorRect = {-1, -1, -1, -1};
    result.PlainText.clear();
    result.FocusHref.clear();
    ChooseFormats(state);

    const bool keepHits = kept != nullptr && request.NoDraw && !kept->HasHits();
    if (keepHits) {
        kept->HitLines.clear();
        kept->HitEvents.clear();
        kept->Hrefs.clear();
        state.KeptHits = kept;
    }
    if (kept != nullptr && !request.NoDraw) {
        state.DrawnWidths = &kept->DrawnWidths;
        state.ReadsDrawnWidths = kept->DrawnWidthsKept;
        if (!kept->DrawnWidthsKept) {
            kept->DrawnWidths.clear();
        }
    }
    std::string prepared;
    std::string_view text;
    if (replay) {
        result.TextWidth = kept->MeasuredWidth;
        result.PlainText = kept->PlainText;
    } else {
        prepared = PrepareMarkup(WithoutEncodingMark(request.Markup), state.Encoding);
        text = prepared;
    }
    FontState runningFont = state.BaseFont;
    runningFont.Encoding = state.Encoding;
    RunningFont measureFont{runningFont, {}};
    RunningFont drawFont{runningFont, {}};
    const Rect& bounds = request.Bounds;
    std::int32_t lineTop = bounds.Top;
    bool hit = false;

    for (std::size_t index = 0; replay ? index < kept->Lines.size() : !text.empty(); ++index) {
        state.Flow.Subscript = false;
        state.Flow.Superscript = false;
        LineValues line;
        Rect drawRect;
        std::string_view consumed;
        std::int32_t probeHeight = 0;
        std::string measuredText;
        if (replay) {
            const KeptLayout::Line& k = kept->Lines[index];
            line = {k.Height, k.SuperscriptOffset, k.SubscriptOffset, k.TextOffset};
            drawRect = k.DrawRect;
            state.Alignment = static_cast<ParagraphAlignment>(k.Alignment);
            state.Indent = k.Indent;
            consumed = k.Consumed;
        } else {
            canvas.SetFont(measureFont.Font);
            const FlowState lineStart = state.Flow;
            line.Height = canvas.TextHeight("gh");
            probeHeight = line.Height;
            const Rect lineRect{bounds.Left + 1, lineTop, bounds.Right, bounds.Bottom};
            LineResult measured =
                RenderMarkupLine(state, measureFont, text, lineRect, LinePass::Measure, line);
            if (state.Rules.LineSpacing) {
                line.Height += request.LineSpacing;
            }
            // Measuring alone carries its state from line to line; otherwise the second pass does.
            if (!request.MeasureOnly) {
                state.Flow = lineStart;
            }
            drawRect = AlignedLineRect(state, lineRect, measured.XExtent);
            drawRect.Bottom = lineTop + line.Height + line.SubscriptOffset + line.SuperscriptOffset;
            measuredText = std::move(measured.Consumed);
            consumed = measuredText;
            if (kept != nullptr) {
                kept->MeasuredWidth = std::max(kept->MeasuredWidth, measured.XExtent);
                kept->Lines.push_back({measuredText, line.Height, line.SuperscriptOffset,
                                       line.SubscriptOffset, line.TextOffset, drawRect,
                                       static_cast<std::uint8_t>(state.Alignment), state.Indent});
            }
        }
        const std::int32_t lineAdvance = line.Height + line.SubscriptOffset + line.SuperscriptOffset;

        if (!request.MeasureOnly) {
            canvas.SetFont(drawFont.Font);
            const LineResult second =
                RenderMarkupLine(state, drawFont, consumed, drawRect, LinePass::Second, line);
            const std::int32_t bottom = drawRect.Bottom - line.TextOffset;
            const std::int32_t probe = canvas.TextHeight("gh");
            if ((second.TextHit && bottom - probe < request.HitY && request.HitY < bottom) ||
                second.ImageHit) {
                hit = true;
            }
            if (keepHits) {
                kept->HitLines.push_back({drawRect.Left, bottom - probe, bottom, kept->HitEvents.size()});
            }
        }
        result.AnchorCount = state.Flow.AnchorCount;
        lineTop += lineAdvance;
        result.TextHeight += lineAdvance;
        // A line the bounds would cut is dropped with all after it, rather than shown in part; measuring
        // goes on, so that a control can size itself to the whole text.
        if (!replay && !request.MeasureOnly && lineTop + probeHeight > bounds.Bottom) {
            break;
        }
    }
    if (result.TextHeight == 0) {
        result.TextHeight = canvas.TextHeight("gh");
    }
    canvas.SetBrush(entryBrush);
    canvas.SetFont(state.BaseFont);
    if (kept != nullptr && !replay) {
        kept->PlainText = result.PlainText;
        kept->LinesKept = true;
    }
    if (state.DrawnWidths != nullptr) {
        kept->DrawnWidthsKept = true;
    }
    if (keepHits) {
        kept->HitTextWidth = result.TextWidth;
        kept->TextHeight = result.TextHeight;
        kept->AnchorCount = result.AnchorCount;
        kept->KeepHits();
    }
    if (kept != nullptr && state.LayoutFollowsHitPoint) {
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
    if (request.MeasureOnly) {
        return RenderMarkup(canvas, sources, request, result);
    }
    if (kept.Answers(sources, request, canvas.Font(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY())) {
        if (request.NoDraw && kept.HasHits()) {
            return kept.Hit(request, result);
        }
        return Lay(canvas, sources, request, result, &kept, true);
    }
    kept.Forget();
    kept.LaidOutFor =
        KeptLayout::KeyFor(sources, request, canvas.Font(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
    return Lay(canvas, sources, request, result, &kept, false);
}

bool MarkupCall::Run() {
    if (Kept == nullptr) {
        return RenderMarkup(Target, Sources, Request, Result);
    }
    KeptLayout& layout =
        Kept->For(Sources, Request, Target.Font(), Target.PixelsPerInchX(), Target.PixelsPerInchY());
    return RenderMarkup(Target, Sources, Request, Result, layout);
}

} // namespace velmora
