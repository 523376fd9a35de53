#include "markup/LineLayout.h"
#include "markup/MarkupColors.h"
#include "markup/MarkupTags.h"
#include "markup/MarkupText.h"
#include "markup/RotatedFont.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr std::int32_t kListStep = 12;

} // namespace

// A tag is handled by the one step that knows its kind: the font's styles, colours, what breaks or
// shapes lines, and what changes the flow of the runs after it; anchors, BODY and IMG have their own.
void LineLayout::HandleTag(std::string_view text) {
    const std::string_view tag = TagText(text);
    const TagKind kind = ClassifyTag(text);
    if (StyleTag(kind) || ColorTag(kind, tag) || LineTag(kind, tag) || FlowTag(kind, tag)) {
        return;
    }
    switch (kind) {
    case TagKind::Anchor:
        OpenAnchor(tag);
        break;
    case TagKind::EndAnchor:
        CloseAnchor();
        break;
    case TagKind::Body:
        Body(tag);
        break;
    case TagKind::Image:
        Image(tag);
        break;
    default:
        break;
    }
}

bool LineLayout::StyleTag(TagKind kind) {
    switch (kind) {
    case TagKind::Bold:
        EditFont([](FontState& f) { f.Bold = true; });
        return true;
    case TagKind::EndBold:
        EditFont([](FontState& f) { f.Bold = false; });
        return true;
    case TagKind::Italic:
        EditFont([](FontState& f) { f.Italic = true; });
        return true;
    case TagKind::EndItalic:
        EditFont([](FontState& f) { f.Italic = false; });
        return true;
    case TagKind::Underline:
        EditFont([](FontState& f) { f.Underline = true; });
        return true;
    case TagKind::EndUnderline:
        EditFont([](FontState& f) { f.Underline = false; });
        return true;
    case TagKind::StrikeOut:
        EditFont([](FontState& f) { f.StrikeOut = true; });
        return true;
    case TagKind::EndStrikeOut:
        EditFont([](FontState& f) { f.StrikeOut = false; });
        return true;
    default:
        return false;
    }
}

bool LineLayout::ColorTag(TagKind kind, std::string_view tag) {
    switch (kind) {
    case TagKind::Blink:
        if (!in_.BlinkVisible) {
            SetTextColor(s_.Background);
        }
        return true;
    case TagKind::EndBlinkOrBody:
        SetTextColor(s_.BaseFont.Color);
        return true;
    case TagKind::ErrorUnderline:
    case TagKind::EndErrorUnderline:
        if (!paintNothing_) {
            s_.ErrorUnderline = kind == TagKind::ErrorUnderline;
        }
        return true;
    case TagKind::Font:
        // A FONT tag cut off by the end of the text changes nothing.
        if (tag.back() == '>') {
            Font(tag);
        }
        return true;
    case TagKind::EndFont:
        EditFont([this](FontState& f) {
            f.Name = s_.BaseFont.Name;
            f.Size = s_.BaseFont.Size;
        });
        if (ColorsApply()) {
            SetTextColor(s_.BaseFont.Color);
            canvas_.SetBrushColor(s_.SavedFontBackground);
        }
        return true;
    case TagKind::Highlight:
        if (!paintNothing_) {
            s_.SavedHighlightText = canvas_.Font().Color;
            s_.SavedHighlightBackground = canvas_.TextBackground();
            canvas_.SetBrushColor(clHighlight);
            SetTextColor(clHighlightText);
        }
        return true;
    case TagKind::EndHighlight:
        // Without an HI before it there is no text colour to return to.
        if (!paintNothing_ && s_.SavedHighlightText != clNone) {
            SetTextColor(s_.SavedHighlightText);
            canvas_.SetBrushColor(s_.SavedHighlightBackground);
        }
        return true;
    default:
        return false;
    }
}

bool LineLayout::LineTag(TagKind kind, std::string_view tag) {
    switch (kind) {
    case TagKind::Break:
        endOfLine_ = true;
        if (decidesLayout_) {
            out_.PlainText += '\r';
        }
        return true;
    case TagKind::Rule:
        Rule();
        return true;
    case TagKind::IndentTo:
        IndentTo(tag);
        return true;
    case TagKind::ListItem:
        ListItem();
        return true;
    case TagKind::EndListItem:
        endOfLine_ = true;
        return true;
    case TagKind::List:
        ++s_.Flow.ListLevel;
        endOfLine_ = true;
        return true;
    case TagKind::EndList:
        if (s_.Flow.ListLevel > 0) {
            --s_.Flow.ListLevel;
        } else {
            EditFont([](FontState& f) { f.Underline = false; });
        }
        return true;
    case TagKind::Paragraph:
        if (tag.back() == '>') {
            Paragraph(tag);
        }
        return true;
    case TagKind::EndParagraph:
        endOfLine_ = true;
        if (!paintNothing_) {
            canvas_.SetBrushColor(s_.SavedParagraphBackground);
            s_.ParagraphBand = false;
        }
        return true;
    default:
        return false;
    }
}

bool LineLayout::FlowTag(TagKind kind, std::string_view tag) {
    switch (kind) {
    case TagKind::Rotate:
        // A second R while rotated keeps the first unrotated font, so that /R returns to it.
        if (font_.Unrotated) {
            SelectRotatedFont(canvas_, IntFromText(LetterValue(tag, 'a')));
        } else {
            font_.Unrotated = SelectRotatedFont(canvas_, IntFromText(LetterValue(tag, 'a')));
        }
        return true;
    case TagKind::EndRotate:
        if (font_.Unrotated) {
            RestoreUnrotatedFont(canvas_, *font_.Unrotated);
            font_.Unrotated.reset();
        }
        return true;
    case TagKind::Shadow:
    case TagKind::EndShadow:
        s_.Flow.Shadow = kind == TagKind::Shadow;
        return true;
    case TagKind::Subscript:
        s_.Flow.Subscript = true;
        return true;
    case TagKind::Superscript:
        s_.Flow.Superscript = true;
        return true;
    case TagKind::EndScript:
        s_.Flow.Subscript = false;
        s_.Flow.Superscript = false;
        return true;
    case TagKind::Hidden:
    case TagKind::EndHidden:
        s_.Flow.Hidden = kind == TagKind::Hidden;
        return true;
    default:
        return false;
    }
}

void LineLayout::OpenAnchor(std::string_view tag) {
    if (!paintNothing_ && s_.Flow.AnchorCount == in_.FocusAnchor) {
        s_.FocusRect.Left = textRect_.Left;
        s_.FocusRect.Top = textRect_.Top;
    }
    ++s_.Flow.AnchorCount;
    const bool hovered = in_.HoverEnabled && s_.Flow.AnchorCount == in_.HoverAnchor;
    if (Styled() && !paintNothing_) {
        EditFont([](FontState& f) { f.Underline = true; });
        if (in_.HoverColor != clNone) {
            s_.SavedAnchorBackground = canvas_.TextBackground();
            canvas_.SetBrushColor(in_.HoverColor);
        }
        if (in_.HoverFontColor != clNone) {
            s_.SavedAnchorText = canvas_.Font().Color;
            SetTextColor(in_.HoverFontColor);
        }
    }
    if (!in_.SuppressColors && !(hovered && in_.HoverFontColor != clNone)) {
        SetTextColor(in_.UrlColor);
    }
    s_.Flow.Href = AnchorHref(tag);
    s_.Flow.InsideAnchor = true;
    s_.AnchorStart = {PositionSum(lineRect_.Left, result_.XExtent), lineRect_.Top};
    anchorOpenedOnLine_ = true;
}

void LineLayout::CloseAnchor() {
    // A stray /A has no anchor to restore, record or frame.
    const bool open = s_.Flow.InsideAnchor;
    if (open && Styled() && !paintNothing_) {
        EditFont([](FontState& f) { f.Underline = false; });
        if (in_.HoverColor != clNone) {
            canvas_.SetBrushColor(s_.SavedAnchorBackground);
        }
        if (in_.HoverFontColor != clNone) {
            SetTextColor(s_.SavedAnchorText);
        }
    }
    if (!in_.SuppressColors) {
        SetTextColor(s_.BaseFont.Color);
    }
    if (!open) {
        return;
    }
    s_.Flow.InsideAnchor = false;
    const Rect anchorRect{anchorOpenedOnLine_ ? s_.AnchorStart.X : lineRect_.Left,
                          anchorOpenedOnLine_ ? s_.AnchorStart.Y : lineRect_.Top,
                          PositionSum(lineRect_.Left, result_.XExtent), lineRect_.Bottom};
    if (KeepsHits()) {
        KeptLayout::HitEvent event;
        event.Kind = KeptLayout::HitEvent::Kind::AnchorEnd;
        event.AnchorNumber = s_.Flow.AnchorCount;
        event.AnchorRect = anchorRect;
        KeepHit(event);
    }
    if (s_.Flow.RecordAnchor) {
        out_.HitAnchorRect = anchorRect;
        out_.HitAnchorNumber = s_.Flow.AnchorCount;
        s_.Flow.RecordAnchor = false;
    }
    if (!paintNothing_ && s_.Flow.AnchorCount - 1 == in_.FocusAnchor) {
        s_.FocusRect.Right = textRect_.Left;
        s_.FocusRect.Bottom = textRect_.Bottom - line_.TextOffset;
        s_.FocusRect.Top = s_.FocusRect.Bottom - canvas_.TextHeight("gh");
        canvas_.DrawFocusRect(s_.FocusRect.Inflate(1, 0));
    }
}

void LineLayout::CloseFocusRectOnLine() {
    if (paintNothing_ || !s_.Flow.InsideAnchor || s_.Flow.AnchorCount - 1 != in_.FocusAnchor) {
        return;
    }
    s_.FocusRect.Right = textRect_.Left;
    s_.FocusRect.Bottom = textRect_.Bottom;
    canvas_.DrawFocusRect(s_.FocusRect.Inflate(1, 0));
    s_.FocusRect.Left = lineRect_.Left + 1;
    s_.FocusRect.Top = s_.FocusRect.Bottom;
}

void LineLayout::Font(std::string_view tag) {
    const std::string attributes = AttributeText(tag, 5);
    if (const auto face = AttributeValue(attributes, "FACE")) {
        EditFont([&face](FontState& f) { f.Name = std::string(*face); });
    }
    if (const auto color = AttributeValue(attributes, " COLOR"); color && !in_.SuppressColors) {
        if (const auto value = ColorFromValue(*color)) {
            SetTextColor(*value);
        }
    }
    if (const auto background = AttributeValue(attributes, "BGCOLOR"); background && ColorsApply()) {
        s_.SavedFontBackground = canvas_.TextBackground();
        if (const auto value = ColorFromValue(*background)) {
            canvas_.SetBrushColor(*value);
        }
    }
    if (const auto size = FontSizeFromAttributes(attributes)) {
        EditFont(
            [&size](FontState& f) { f.Size = std::clamp(*size, -kMarkupMaxPointSize, kMarkupMaxPointSize); });
    }
}

void LineLayout::Paragraph(std::string_view tag) {
    const std::string attributes = AttributeText(tag, 2);
    if (const auto align = AttributeValue(attributes, "ALIGN")) {
        if (align->find("RIGHT") != std::string_view::npos) {
            s_.Alignment = ParagraphAlignment::Right;
        }
        if (align->find("LEFT") != std::string_view::npos) {
            s_.Alignment = ParagraphAlignment::Left;
        }
        if (align->find("CENTER") != std::string_view::npos) {
            s_.Alignment = ParagraphAlignment::Center;
        }
    }
    if (const auto indent = AttributeValue(attributes, "INDENT")) {
        s_.Indent = IntFromText(*indent);
    }
    ParagraphBackground(attributes);
}

void LineLayout::IndentTo(std::string_view tag) {
    const std::optional<int> x = CleanIntFromText(LetterValue(tag, 'x'));
    // Runs add no width while drawing, so the drawing pass compares with where it stands instead.
    const std::int64_t current =
        paintNothing_ ? result_.XExtent : std::int64_t{textRect_.Left} - lineRect_.Left;
    if (x && *x > current) {
        result_.XExtent = PositionSum(0, *x);
        textRect_.Left = PositionSum(in_.Bounds.Left, *x);
    }
}

void LineLayout::ListItem() {
    if (listItemSeen_) {
        lineFull_ = true;
        return;
    }
    listItemSeen_ = true;
    const std::int32_t level = s_.Flow.ListLevel;
    // Multiplied in 64 bits: nothing bounds the number of open lists but the length of the markup.
    result_.XExtent = PositionSum(result_.XExtent, std::int64_t{kListStep} * level);
    textRect_.Left = PositionSum(textRect_.Left, std::int64_t{kListStep} * (level - 1));
    if (!paintNothing_ && (!s_.Flow.Hidden || rules_.BulletsWhenHidden)) {
        const FontState font = canvas_.Font();
        // The bullet is a code of the Symbol font, whatever the text's encoding.
        EditFont([](FontState& f) {
            f.Name = "Symbol";
            f.Encoding = TextEncoding::Windows1252;
        });
        Rect bullet = textRect_;
        canvas_.DrawText(level % 2 == 1 ? "\xB7" : "o", bullet, DT_TOP | DT_LEFT | DT_SINGLELINE);
        canvas_.SetFont(font);
    }
    textRect_.Left = PositionSum(textRect_.Left, kListStep);
}

void LineLayout::Rule() {
    endOfLine_ = true;
    if (paintNothing_) {
        return;
    }
    const TColor color = canvas_.CurrentPen().Color;
    canvas_.SetPenColor(clBlack);
    const std::int32_t y = textRect_.Bottom + 1;
    canvas_.MoveTo(lineRect_.Left, y);
    canvas_.LineTo(lineRect_.Right, y);
    canvas_.SetPenColor(color);
}

} // namespace velmora
