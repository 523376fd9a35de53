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
    pictureCache_->Clear();
    update();
}

void THTMLabel::TextUpdated() {
    update();
}

void THTMLabel::SetURLColor(TColor color) {
    StoreAndRepaintChanged(urlColor_, color);
}

void THTMLabel::SetHover(bool on) {
    StoreAndRepaint(hover_, on);
}

void THTMLabel::SetHoverColor(TColor color) {
    StoreAndRepaint(hoverColor_, color);
}

void THTMLabel::SetHoverFontColor(TColor color) {
    StoreAndRepaint(hoverFontColor_, color);
}

void THTMLabel::SetColorTo(TColor color) {
    StoreAndRepaint(colorTo_, color);
}

void THTMLabel::SetGradientType(TGradientType type) {
    StoreAndRepaint(gradientType_, type);
}

void THTMLabel::SetLineWidth(std::int32_t width) {
    StoreAndRepaint(lineWidth_, width);
}

void THTMLabel::SetVAlignment(TVAlignment alignment) {
    StoreAndRepaintChanged(vAlignment_, alignment);
}

void THTMLabel::SetEllipsis(bool on) {
    StoreAndRepaintChanged(ellipsis_, on);
}

void THTMLabel::SetAutoSizing(bool on) {
    autoSizing_ = on;
    if (on) {
        if (align_ == alLeft || align_ == alRight) {
            resize(kAutoSizeMargin, height());
        } else if (align_ == alTop || align_ == alBottom) {
            resize(width(), kAutoSizeMargin);
        }
    }
    update();
}

void THTMLabel::SetAutoSizeType(TAutoSizeType type) {
    autoSizeType_ = type;
    SetAutoSizing(autoSizing_);
}

void THTMLabel::SetImages(ImageList* list) {
    imageListLink_.Attach(list);
    update();
}

void THTMLabel::SetTransparent(bool on) {
    StoreAndRepaint(transparent_, on);
}

bool THTMLabel::RenderText(RenderMarkupParams& params) {
    params.wordWrap = !ellipsis_;
    params.pictureCache = pictureCache_.get();
    params.pictureContainer = pictureContainer_;
    params.shellIcons = shellIcons_.get();
    params.lineSpacing = 0;
    params.flavor = MarkupFlavor::Label;
    return RenderMarkup(params);
}

RenderMarkupParams THTMLabel::PaintArguments(Canvas& canvas, const std::string& markup, const Rect& bounds,
                                             Point mouse, std::int32_t focus) const {
    RenderMarkupParams params;
    static_cast<MarkupRequest&>(params) = SharedRequest(bounds, mouse, focus);
    params.canvas = &canvas;
    params.markup = markup;
    params.imageList = Images();
    params.blinkVisible = false;
    return params;
}

void THTMLabel::paintEvent(QPaintEvent*) {
    EmptyCaption();
    QPainter painter(this);
    QtCanvas canvas(painter, style());
    PaintBackground(canvas);
    canvas.SetFont(font_);
    DrawSingleBorder(canvas, DrawBevels(canvas));
    PaintText(canvas);
}

void THTMLabel::PaintBackground(Canvas& canvas) {
    Rect r = ClientRect();
    const std::int32_t steps = r.Width() / 4;
    const bool fullGradient = gradientType_ == gtFullHorizontal || gradientType_ == gtFullVertical;
    if (!transparent_) {
        if (colorTo_ != clNone && fullGradient) {
            DrawGradient(canvas, color_, colorTo_, steps, r, gradientType_ == gtFullHorizontal);
        } else {
            canvas.SetPenColor(color_);
            canvas.SetBrushColor(color_);
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
    DrawGradient(canvas, color_, colorTo_, steps, r, true);
}

void THTMLabel::PaintText(Canvas& canvas) {
    const std::string markup = GetJoinedText();
    canvas.SetBrushColor(color_);
    const AutoSizeRules rules = AutoSizeRulesFor(autoSizing_, align_, autoSizeType_);
    Rect bounds = ExtendForAutoSize(TextArea(), rules);
    const Point mouse = CursorPos();
    AlignVertically(canvas, markup, bounds, mouse, -1);
    RenderMarkupParams draw = PaintArguments(canvas, markup, bounds, mouse, hasFocus() ? 0 : -1);
    RenderText(draw);
    focusHref_ = hasFocus() ? draw.focusHref : std::string();
    FitToText(rules, draw.textWidth, draw.textHeight);
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
    if (QWidget* parent = parentWidget()) {
        parent->update(ToQRect(r).translated(pos()));
    }
}

void THTMLabel::RepaintHoverChange(const Rect& rect) {
    if (rect.Left != -1) {
        InvalidateHoverRect(hoverRect_);
    } else {
        update();
    }
}

void THTMLabel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty()) {
        if (hit.Anchor != lastAnchor_ || hit.AnchorRect != hoverRect_ || hoverAnchor_ == -1) {
            qCDebug(lcMarkup).noquote() << QString::number(hoverAnchor_);
            if (hover_ && hit.AnchorRect.Left != -1) {
                InvalidateHoverRect(hoverRect_);
            }
        }
        if (!CursorIsHand() || hit.Anchor != lastAnchor_ || lastHoverAnchor_ != hoverAnchor_) {
            if (anchorHint_) {
                QToolTip::hideText();
            }
            ShowHandCursor();
            RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
            if (hover_) {
                RepaintHoverChange(hit.AnchorRect);
            }
        }
        lastAnchor_ = hit.Anchor;
        lastHoverAnchor_ = hoverAnchor_;
        hoverRect_ = hit.AnchorRect;
        if (hover_) {
            InvalidateHoverRect(hoverRect_);
        }
    } else if (CursorIsHand()) {
        ShowDefaultCursor();
        RaiseAnchorEvent(OnAnchorExit, std::string());
        if (hover_) {
            RepaintHoverChange(hoverRect_);
        }
        hoverRect_ = {-1, -1, -1, -1};
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
    QLabel::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

void THTMLabel::leaveEvent(QEvent* event) {
    if (hover_ && hoverAnchor_ != -1) {
        InvalidateHoverRect(hoverRect_);
    }
    hoverAnchor_ = -1;
    QLabel::leaveEvent(event);
    RaiseNotify(OnMouseLeave);
}

MarkupControl::HintInfo THTMLabel::HintAt(QPoint point) {
    HintInfo info;
    std::string anchorText;
    if (anchorHint_) {
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
        info.Text = hint_;
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
