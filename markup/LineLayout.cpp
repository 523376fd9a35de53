#include "markup/LineLayout.h"

#include "markup/LineBreaks.h"
#include "markup/MarkupEntities.h"

#include <algorithm>

namespace velmora {
LineResult LineLayout::Run(std::string_view& text) {
    lineRect_.Bottom -= line_.SubscriptOffset;
    textRect_ = lineRect_;
    FillParagraphBand();
    while (!text.empty() && !endOfLine_ && !lineFull_) {
        TakeRun(text);
        if (text.empty() || text.front() != '<' || endOfLine_) {
            continue;
        }
        HandleTag(text);
        if (lineFull_) {
            continue;
        }
        const std::size_t close = text.find('>');
        if (close == std::string_view::npos) {
            text = {};
        } else {
            KeepConsumed(text.substr(0, close + 1));
            text.remove_prefix(close + 1);
        }
    }
    result_.XExtent -= trailingSpace_;
    out_.TextWidth = std::max(out_.TextWidth, result_.XExtent);
    CloseFocusRectOnLine();
    return std::move(result_);
}

void LineLayout::TakeRun(std::string_view& text) {
    const std::size_t stop = RunStop(text, in_.WordWrap, s_.Encoding);
    const std::size_t n = stop < text.size() && text[stop] == ' ' ? stop + 1 : stop;
    if (n == 0) {
        return;
    }
    const std::string_view written = text.substr(0, n);
    // Only a run with entities needs a copy of its own.
    std::string replaced;
    std::string_view run = written;
    if (written.find('&') != std::string_view::npos) {
        replaced = ReplaceRunEntities(written, s_.Encoding);
        run = replaced;
    }
    if (run.empty()) {
        return;
    }
    const std::int32_t height = canvas_.TextHeight(run);
    const std::int32_t quarter = static_cast<std::int32_t>(static_cast<std::uint32_t>(height) / 4);
    if (s_.Flow.Subscript) {
        line_.SubscriptOffset = std::max(line_.SubscriptOffset, quarter);
    }
    if (s_.Flow.Superscript) {
        line_.SuperscriptOffset = std::max(line_.SuperscriptOffset, quarter);
    }
    line_.Height = std::max(line_.Height, height);

    if (s_.Flow.Hidden) {
        if (decidesLayout_) {
            out_.PlainText += run;
        }
        text.remove_prefix(n);
        return;
    }

    std::int32_t width = 0;
    if (paintNothing_) {
        MeasureRun(run, width);
    } else {
        DrawRun(run);
    }

    // The second pass lays out what the measuring pass already fitted, whatever its own rectangle.
    // A run wider than the whole line is placed anyway: where words wrap, on a line of its own; without
    // wrapping, where it stands, cut with an ellipsis, and the lines after it still show. (Measured with
    // the ellipsis a run is never wider than the line, so its own width decides.)
    bool fits = !decidesLayout_ || LineWidth() > result_.XExtent ||
                (LineWidth() <= width && lineTextEmpty_) ||
                (!in_.WordWrap && LineWidth() <= WidthWithoutEllipsis(run));
    if (!fits && !lineTextEmpty_ &&
        !MayBreakBetween(lineTextLast_, FirstCharacter(run, s_.Encoding), s_.Encoding)) {
        fits = true; // no break inside a word
    }
    const bool textBefore = !lineTextEmpty_;
    lineTextEmpty_ = false;
    lineTextLast_ = LastCharacter(run, s_.Encoding);

    if (!fits && in_.WordWrap) {
        endOfLine_ = true;
        result_.XExtent -= width;
        return;
    }
    KeepConsumed(written);
    if (decidesLayout_) {
        out_.PlainText += run;
    }
    text.remove_prefix(n);
    if (paintNothing_ && !fits && textBefore) {
        text = {};
    }
    // Only the one space that ends a word leaves the width, so that aligned text ends at its last letter;
    // a written "&nbsp;" (the run is then shorter than what it was written as) is text and counts.
    trailingSpace_ = run.size() >= n && run[n - 1] == ' ' ? canvas_.TextWidth(" ") : 0;
}

void LineLayout::MeasureRun(std::string_view run, std::int32_t& width) {
    textRect_ = lineRect_;
    Rect measured = textRect_;
    canvas_.DrawText(run, measured, s_.MeasureFormat);
    width = measured.Right - measured.Left;
    result_.XExtent = PositionSum(result_.XExtent, width);
    const std::int64_t x = static_cast<std::int64_t>(in_.HitX) - lineRect_.Left;
    if (KeepsHits() && s_.Flow.InsideAnchor) {
        const std::int32_t bottom = lineRect_.Bottom + line_.SubscriptOffset - line_.TextOffset;
        KeptLayout::HitEvent event;
        event.From = result_.XExtent - width;
        event.To = result_.XExtent;
        event.Top = textRect_.Top;
        event.BandTop = bottom - canvas_.TextHeight("gh");
        event.BandBottom = bottom;
        KeepHit(event);
    }
    if (s_.Flow.InsideAnchor && x >= result_.XExtent - width && x <= result_.XExtent) {
        result_.TextHit = true;
        if (in_.HitY > textRect_.Top) {
            out_.HitAnchor = s_.Flow.Href;
        }
        // Only an anchor whose text band holds the point is the hit anchor; lines above it and the
        // unaligned measuring pass would name the wrong one.
        if (!decidesLayout_ && HitInTextBand()) {
            s_.Flow.RecordAnchor = true;
        }
    }
}

std::int32_t LineLayout::WidthWithoutEllipsis(std::string_view run) {
    Rect measured = lineRect_;
    canvas_.DrawText(run, measured, s_.MeasureFormat & ~DT_END_ELLIPSIS);
    return measured.Right - measured.Left;
}

void LineLayout::DrawRun(std::string_view run) {
    if (s_.Flow.Superscript) {
        textRect_.Bottom -= line_.SuperscriptOffset;
    }
    if (s_.Flow.Subscript) {
        textRect_.Bottom += line_.SubscriptOffset;
    }
    textRect_.Bottom -= line_.TextOffset;
    if (s_.Flow.Shadow) {
        const TColor color = canvas_.Font().Color;
        Rect shadow = textRect_.Offset(in_.ShadowOffset, in_.ShadowOffset);
        SetTextColor(in_.ShadowColor);
        canvas_.DrawText(run, shadow, s_.DrawFormat);
        SetTextColor(color);
    }
    Rect drawn = textRect_;
    canvas_.DrawText(run, drawn, s_.DrawFormat);
    Rect measured = textRect_;
    if (s_.ReadsDrawnWidths && s_.NextDrawnWidth < s_.DrawnWidths->size()) {
        measured.Right = textRect_.Left + (*s_.DrawnWidths)[s_.NextDrawnWidth++];
    } else {
        canvas_.DrawText(run, measured, s_.MeasureFormat);
        if (s_.DrawnWidths != nullptr && !s_.ReadsDrawnWidths) {
            s_.DrawnWidths->push_back(measured.Right - textRect_.Left);
        }
    }
    if (s_.Flow.InsideAnchor && s_.Flow.AnchorCount - 1 == in_.FocusAnchor) {
        out_.FocusHref = s_.Flow.Href;
    }
    if (s_.ErrorUnderline) {
        DrawErrorUnderline(textRect_.Left, measured.Right);
    }
    textRect_ = {measured.Right, lineRect_.Top, lineRect_.Right, lineRect_.Bottom};
}

void LineLayout::KeepHit(KeptLayout::HitEvent event) {
    std::vector<std::string>& hrefs = s_.KeptHits->Hrefs;
    if (hrefs.empty() || hrefs.back() != s_.Flow.Href) {
        hrefs.push_back(s_.Flow.Href);
    }
    event.Href = static_cast<std::int32_t>(hrefs.size() - 1);
    s_.KeptHits->HitEvents.push_back(event);
}

void LineLayout::DrawErrorUnderline(std::int32_t left, std::int32_t right) {
    const Pen pen = canvas_.CurrentPen();
    canvas_.SetPen({clRed, 1, PenStyle::Solid});
    std::int32_t x = left - left % 2;
    std::int32_t d = x % 4 == 0 ? 2 : 0;
    const std::int32_t base = lineRect_.Bottom - 1;
    canvas_.MoveTo(x, base + d);
    while (x < right) {
        d = 2 - d;
        canvas_.LineTo(x + 2, base + d);
        x += 2;
    }
    canvas_.SetPen(pen);
}

} // namespace velmora
