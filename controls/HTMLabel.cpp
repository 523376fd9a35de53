#include "controls/HTMLabel.h"

#include "controls/Gradient.h"
#include "controls/MarkupLog.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/MarkupText.h"
#include "markup/PlainText.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace velmora {

THTMLabel::THTMLabel(QWidget* parent)
    : MarkupControl(
          parent, [this] { TextLinesChanged(); }, [this] { update(); }) {
    EmptyCaption();
}

THTMLabel::~THTMLabel() = default;

void THTMLabel::SetHTMLText(const std::vector<std::string>* lines) {
    if (lines != nullptr) {
        std::string text;
        for (const std::string& line : *lines) {
            text += line;
            text += "\r\n";
        }
        std::string single = ConvertLineBreaks(text, false);
        if (single.empty()) {
            HTMLText().Assign({});
        } else {
            HTMLText().Assign({std::move(single)});
        }
    }
    TextUpdated();
}

void THTMLabel::SetHTMLTextList(const QStringList& lines) {
    const std::vector<std::string> converted = StringsToLines(lines);
    SetHTMLText(&converted);
}

void THTMLabel::TextLinesChanged() {
    // The cache holds the pictures of the text it was filled for; a new text loads its own.
    PictureCache().Clear();
    update();
}

void THTMLabel::TextUpdated() {
    update();
}

void THTMLabel::SetHover(bool on) {
    StoreAndRepaint(&Settings::Hover, on);
}

void THTMLabel::SetHoverColor(TColor color) {
    StoreAndRepaint(&Settings::HoverColor, color);
}

void THTMLabel::SetHoverFontColor(TColor color) {
    StoreAndRepaint(&Settings::HoverFontColor, color);
}

void THTMLabel::SetColorTo(TColor color) {
    colorTo_ = color;
    update();
}

void THTMLabel::SetGradientType(TGradientType type) {
    gradientType_ = type;
    update();
}

void THTMLabel::SetLineWidth(std::int32_t width) {
    lineWidth_ = width;
    update();
}

void THTMLabel::SetVAlignment(TVAlignment alignment) {
    StoreAndRepaintChanged(&Settings::VAlignment, alignment);
}

void THTMLabel::SetAutoSizing(bool on) {
    Store(&Settings::AutoSizing, on);
    // A label aligned to an edge grows from that edge: it starts from the margin alone.
    if (on) {
        if (Align() == alLeft || Align() == alRight) {
            resize(kAutoSizeMargin, height());
        } else if (Align() == alTop || Align() == alBottom) {
            resize(width(), kAutoSizeMargin);
        }
    }
    update();
}

void THTMLabel::SetAutoSizeType(TAutoSizeType type) {
    Store(&Settings::AutoSizeType, type);
    SetAutoSizing(AutoSizing());
}

void THTMLabel::SetTransparent(bool on) {
    transparent_ = on;
    update();
}

bool THTMLabel::RenderText(MarkupCall& call) {
    const ImageList* images = call.Sources.Images;
    call.Sources = OwnSources();
    call.Sources.Images = images;
    ShapeRequest(call.Request);
    return call.Run();
}

void THTMLabel::ShapeRequest(MarkupRequest& request) const {
    request.WordWrap = !Ellipsis();
    request.LineSpacing = 0;
    request.Flavor = MarkupFlavor::Label;
    // The label has no timer, so BLINK text never shows in it.
    request.BlinkVisible = false;
}

void THTMLabel::paintEvent(QPaintEvent*) {
    // A caption set by a layout after Loaded would otherwise show under the markup.
    EmptyCaption();
    QPainter painter(this);
    QtCanvas canvas(painter, style());
    PaintBackground(canvas);
    canvas.SetFont(Font());
    DrawSingleBorder(canvas, DrawBevels(canvas));
    PaintText(canvas);
}

void THTMLabel::PaintBackground(Canvas& canvas) {
    Rect r = ClientRect();
    const std::int32_t steps = r.Width() / 4;
    const bool fullGradient = gradientType_ == gtFullHorizontal || gradientType_ == gtFullVertical;
    if (!transparent_) {
        if (colorTo_ != clNone && fullGradient) {
            DrawGradient(canvas, Color(), colorTo_, steps, r, gradientType_ == gtFullHorizontal);
        } else {
            canvas.SetPenColor(Color());
            canvas.SetBrushColor(Color());
            canvas.Rectangle(r);
        }
    } else {
        // Nothing has set a fill colour: a single border of a transparent label stays hollow.
        canvas.SetBrushColor(clNone);
    }
    if (fullGradient) {
        return;
    }
    if (gradientType_ == gtBottomLine) {
        r.Top = r.Bottom - 2;
    } else if (gradientType_ == gtCenterLine) {
        r.Top = r.Top + (r.Bottom - r.Top) / 2;
        r.Bottom = r.Top + 2;
    } else {
        r.Bottom = r.Top + 2;
    }
    DrawGradient(canvas, Color(), colorTo_, steps, r, true);
}

void THTMLabel::PaintText(Canvas& canvas) {
    const std::string markup = GetJoinedText();
    // The brush at entry is the background that BLINK hides its text in.
    canvas.SetBrushColor(Color());
    const AutoSizeRules rules = AutoSizeRulesFor(AutoSizing(), Align(), AutoSizeType());
    Rect bounds = ExtendForAutoSize(TextArea(), rules);
    const Point mouse = CursorPos();
    AlignVertically(canvas, markup, bounds, mouse, -1);
    MarkupCall draw = NewCall(canvas, markup, bounds, mouse, hasFocus() ? 0 : -1);
    RenderText(draw);
    focusHref_ = hasFocus() ? draw.Result.FocusHref : std::string();
    FitToText(rules, draw.Result.TextWidth, draw.Result.TextHeight);
}

void THTMLabel::SetTabStop(bool on) {
    tabStop_ = on;
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void THTMLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) {
        MarkupControl::keyPressEvent(event);
        return;
    }
    event->accept();
    // The target is read as it is drawn, so that it is the one the frame is on.
    repaint();
    if (!focusHref_.empty()) {
        OpenAnchor(focusHref_, OnAnchorClick);
    }
}

void THTMLabel::focusInEvent(QFocusEvent* event) {
    MarkupControl::focusInEvent(event);
    // The focus frame on the first link comes and goes with the focus.
    update();
}

void THTMLabel::focusOutEvent(QFocusEvent* event) {
    MarkupControl::focusOutEvent(event);
    update();
}

AnchorHit THTMLabel::AnchorAt(std::int32_t x, std::int32_t y) {
    return HitTest(TextArea(), x, y);
}

void THTMLabel::InvalidateHoverRect(const Rect& r) {
    // The label has no window of its own: what lies under a highlight is the parent's to paint.
    if (QWidget* parent = parentWidget()) {
        parent->update(ToQRect(r).translated(pos()));
    }
}

void THTMLabel::RepaintHoverChange(const Rect& rect) {
    if (rect.Left != -1) {
        InvalidateHoverRect(HoverRect());
    } else {
        update();
    }
}

void THTMLabel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    AnchorHover& hovering = Hovering();
    if (!hit.Anchor.empty()) {
        if (hit.Anchor != hovering.LastAnchor || hit.AnchorRect != hovering.AnchorRect ||
            hovering.Anchor == -1) {
            qCDebug(lcMarkup).noquote() << QString::number(hovering.Anchor);
            if (Hover() && hit.AnchorRect.Left != -1) {
                InvalidateHoverRect(hovering.AnchorRect);
            }
        }
        if (!CursorIsHand() || hit.Anchor != hovering.LastAnchor ||
            hovering.LastAnchorNumber != hovering.Anchor) {
            if (AnchorHint()) {
                QToolTip::hideText();
            }
            ShowHandCursor();
            RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
            if (Hover()) {
                RepaintHoverChange(hit.AnchorRect);
            }
        }
        hovering.LastAnchor = hit.Anchor;
        hovering.LastAnchorNumber = hovering.Anchor;
        hovering.AnchorRect = hit.AnchorRect;
        if (Hover()) {
            InvalidateHoverRect(hovering.AnchorRect);
        }
    } else if (CursorIsHand()) {
        ShowDefaultCursor();
        RaiseAnchorEvent(OnAnchorExit, std::string());
        if (Hover()) {
            RepaintHoverChange(hovering.AnchorRect);
        }
        hovering.AnchorRect = {-1, -1, -1, -1};
    }
}

void THTMLabel::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(*event);
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty()) {
        OpenAnchor(hit.Anchor, OnAnchorClick);
    }
}

void THTMLabel::enterEvent(QEnterEvent* event) {
    MarkupControl::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

// The highlight is taken off before OnMouseLeave, so that a handler sees the label as the mouse left it.
void THTMLabel::leaveEvent(QEvent* event) {
    if (Hover() && HoverAnchor() != -1) {
        InvalidateHoverRect(HoverRect());
    }
    Hovering().Anchor = -1;
    MarkupControl::leaveEvent(event);
    RaiseNotify(OnMouseLeave);
}

MarkupControl::HintInfo THTMLabel::HintAt(QPoint point) {
    HintInfo info;
    std::string anchorText;
    if (AnchorHint()) {
        AnchorHit hit = AnchorAt(point.x(), point.y());
        if (!hit.Anchor.empty()) {
            if (OnAnchorHint) {
                OnAnchorHint(this, hit.Anchor);
            }
            info.GlobalPos = mapToGlobal(point) + QPoint(10, -10);
            info.Moved = true;
            anchorText = hit.Anchor;
        }
    }
    if (!anchorText.empty()) {
        info.Text = anchorText;
    } else if (hintShowFull_) {
        const std::string joined = GetJoinedText();
        info.Text = htmlHint_ ? joined : MarkupToPlainText(joined);
    } else {
        info.Text = Hint();
    }
    return info;
}

bool THTMLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        return ShowHintFor(*static_cast<QHelpEvent*>(event));
    }
    return MarkupControl::event(event);
}

} // namespace velmora
