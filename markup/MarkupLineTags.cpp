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
        if (!in_.blinkVisible) {
            SetTextColor(s_.background);
        }
        return true;
    case TagKind::EndBlinkOrBody:
        SetTextColor(s_.baseFont.Color);
        return true;
    case TagKind::ErrorUnderline:
    case TagKind::EndErrorUnderline:
        if (!paintNothing_) {
            s_.errorUnderline = kind == TagKind::ErrorUnderline;
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
            f.Name = s_.baseFont.Name;
            f.Size = s_.baseFont.Size;
        });
        if (ColorsApply()) {
            SetTextColor(s_.baseFont.Color);
            canvas_.SetBrushColor(s_.savedFontBackground);
        }
        return true;
    case TagKind::Highlight:
        if (!paintNothing_) {
            s_.savedHighlightText = canvas_.Font().Color;
            s_.savedHighlightBackground = canvas_.TextBackground();
            canvas_.SetBrushColor(clHighlight);
            SetTextColor(clHighlightText);
        }
        return true;
    case TagKind::EndHighlight:
        // Without an HI before it there is no text colour to return to.
        if (!paintNothing_ && s_.savedHighlightText != clNone) {
            SetTextColor(s_.savedHighlightText);
            canvas_.SetBrushColor(s_.savedHighlightBackground);
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
            out_.plainText += '\r';
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
        ++s_.flow.listLevel;
        endOfLine_ = true;
        return true;
    case TagKind::EndList:
        if (s_.flow.listLevel > 0) {
            --s_.flow.listLevel;
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
            canvas_.SetBrushColor(s_.savedParagraphBackground);
            s_.paragraphBand = false;
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
        if (font_.unrotated) {
            SelectRotatedFont(canvas_, IntFromText(LetterValue(tag, 'a')));
        } else {
            font_.unrotated = SelectRotatedFont(canvas_, IntFromText(LetterValue(tag, 'a')));
        }
        return true;
    case TagKind::EndRotate:
        if (font_.unrotated) {
            RestoreUnrotatedFont(canvas_, *font_.unrotated);
            font_.unrotated.reset();
        }
        return true;
    case TagKind::Shadow:
    case TagKind::EndShadow:
        s_.flow.shadow = kind == TagKind::Shadow;
        return true;
    case TagKind::Subscript:
        s_.flow.subscript = true;
        return true;
    case TagKind::Superscript:
        s_.flow.superscript = true;
        return true;
    case TagKind::EndScript:
        s_.flow.subscript = false;
        s_.flow.superscript = false;
        return true;
    case TagKind::Hidden:
    case TagKind::EndHidden:
        s_.flow.hidden = kind == TagKind::Hidden;
        return true;
    default:
        return false;
    }
}

void LineLayout::OpenAnchor(std::string_view tag) {
    if (!paintNothing_ && s_.flow.anchorCount == in_.focusAnchor) {
        s_.focusRect.Left = textRect_.Left;
        s_.focusRect.Top = textRect_.Top;
    }
    ++s_.flow.anchorCount;
    const bool hovered = in_.hoverEnabled && s_.flow.anchorCount == in_.hoverAnchor;
    if (Styled() && !paintNothing_) {
        EditFont([](FontState& f) { f.Underline = true; });
        if (in_.hoverColor != clNone) {
            s_.savedAnchorBackground = canvas_.TextBackground();
            canvas_.SetBrushColor(in_.hoverColor);
        }
        if (in_.hoverFontColor != clNone) {
            s_.savedAnchorText = canvas_.Font().Color;
            SetTextColor(in_.hoverFontColor);
        }
    }
    if (!in_.suppressColors && !(hovered && in_.hoverFontColor != clNone)) {
        SetTextColor(in_.urlColor);
    }
    s_.flow.href = AnchorHref(tag);
    s_.flow.insideAnchor = true;
    s_.anchorStart = {PositionSum(lineRect_.Left, result_.xExtent), lineRect_.Top};
    anchorOpenedOnLine_ = true;
}

void LineLayout::CloseAnchor() {
    // A stray /A has no anchor to restore, record or frame.
    const bool open = s_.flow.insideAnchor;
    if (open && Styled() && !paintNothing_) {
        EditFont([](FontState& f) { f.Underline = false; });
        if (in_.hoverColor != clNone) {
            canvas_.SetBrushColor(s_.savedAnchorBackground);
        }
        if (in_.hoverFontColor != clNone) {
            SetTextColor(s_.savedAnchorText);
        }
    }
    if (!in_.suppressColors) {
        SetTextColor(s_.baseFont.Color);
    }
    if (!open) {
        return;
    }
    s_.flow.insideAnchor = false;
    const Rect anchorRect{anchorOpenedOnLine_ ? s_.anchorStart.X : lineRect_.Left,
                          anchorOpenedOnLine_ ? s_.anchorStart.Y : lineRect_.Top,
                          PositionSum(lineRect_.Left, result_.xExtent), lineRect_.Bottom};
    if (KeepsHits()) {
        KeptLayout::HitEvent event;
        event.kind = KeptLayout::HitEvent::Kind::AnchorEnd;
        event.anchorNumber = s_.flow.anchorCount;
        event.anchorRect = anchorRect;
        KeepHit(event);
    }
    if (s_.flow.recordAnchor) {
        out_.hitAnchorRect = anchorRect;
        out_.hitAnchorNumber = s_.flow.anchorCount;
        s_.flow.recordAnchor = false;
    }
    if (!paintNothing_ && s_.flow.anchorCount - 1 == in_.focusAnchor) {
        s_.focusRect.Right = textRect_.Left;
        s_.focusRect.Bottom = textRect_.Bottom - line_.textOffset;
        s_.focusRect.Top = s_.focusRect.Bottom - canvas_.TextHeight("gh");
        canvas_.DrawFocusRect(s_.focusRect.Inflate(1, 0));
    }
}

void LineLayout::CloseFocusRectOnLine() {
    if (paintNothing_ || !s_.flow.insideAnchor || s_.flow.anchorCount - 1 != in_.focusAnchor) {
        return;
    }
    s_.focusRect.Right = textRect_.Left;
    s_.focusRect.Bottom = textRect_.Bottom;
    canvas_.DrawFocusRect(s_.focusRect.Inflate(1, 0));
    s_.focusRect.Left = lineRect_.Left + 1;
    s_.focusRect.Top = s_.focusRect.Bottom;
}

void LineLayout::Font(std::string_view tag) {
    const std::string attributes = AttributeText(tag, 5);
    if (const auto face = AttributeValue(attributes, "FACE")) {
        EditFont([&face](FontState& f) { f.Name = std::string(*face); });
    }
    if (const auto color = AttributeValue(attributes, " COLOR"); color && !in_.suppressColors) {
        if (const auto value = ColorFromValue(*color)) {
            SetTextColor(*value);
        }
    }
    if (const auto background = AttributeValue(attributes, "BGCOLOR"); background && ColorsApply()) {
        s_.savedFontBackground = canvas_.TextBackground();
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
            s_.alignment = ParagraphAlignment::Right;
        }
        if (align->find("LEFT") != std::string_view::npos) {
            s_.alignment = ParagraphAlignment::Left;
        }
        if (align->find("CENTER") != std::string_view::npos) {
            s_.alignment = ParagraphAlignment::Center;
        }
    }
    if (const auto indent = AttributeValue(attributes, "INDENT")) {
        s_.indent = IntFromText(*indent);
    }
    ParagraphBackground(attributes);
}

void LineLayout::IndentTo(std::string_view tag) {
    const std::optional<int> x = CleanIntFromText(LetterValue(tag, 'x'));
    // Runs add no width while drawing, so the drawing pass compares with where it stands instead.
    const std::int64_t current =
        paintNothing_ ? result_.xExtent : std::int64_t{textRect_.Left} - lineRect_.Left;
    if (x && *x > current) {
        result_.xExtent = PositionSum(0, *x);
        textRect_.Left = PositionSum(in_.bounds.Left, *x);
    }
}

void LineLayout::ListItem() {
    if (listItemSeen_) {
        lineFull_ = true;
        return;
    }
    listItemSeen_ = true;
    const std::int32_t level = s_.flow.listLevel;
    // Multiplied in 64 bits: nothing bounds the number of open lists but the length of the markup.
    result_.xExtent = PositionSum(result_.xExtent, std::int64_t{kListStep} * level);
    textRect_.Left = PositionSum(textRect_.Left, std::int64_t{kListStep} * (level - 1));
    if (!paintNothing_ && (!s_.flow.hidden || rules_.bulletsWhenHidden)) {
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
