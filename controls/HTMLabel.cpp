#include "controls/HTMLabel.h"

#include "controls/MarkupLog.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/MarkupText.h"
#include "markup/PlainText.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace velmora {

class THTMLabel::Host final : public MarkupControlHost<LabelHost> {
public:
    explicit Host(THTMLabel& label) : MarkupControlHost(label), label_(label) {}

    void PaintNow(bool) override { label_.repaint(); }
    void OpenAnchor(const std::string& anchor, AnchorAction) override {
        label_.OpenAnchor(anchor, label_.OnAnchorClick);
    }
    void InvalidateBehind(const Rect& r) override { label_.InvalidateHoverRect(r); }
    void ReportHoverAnchor(std::int32_t number) override {
        qCDebug(lcMarkup).noquote() << QString::number(number);
    }

private:
    THTMLabel& label_;
};

THTMLabel::THTMLabel(QWidget* parent)
    : MarkupControl(
          parent, [this] { TextLinesChanged(); }, [this] { update(); }),
      host_(std::make_unique<Host>(*this)), core_(*host_, Hovering()) {
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
    PaintLabel(canvas, View(), core_, {Color(), colorTo_, gradientType_, transparent_}, CurrentPaintState());
}

void THTMLabel::SetTabStop(bool on) {
    tabStop_ = on;
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void THTMLabel::keyPressEvent(QKeyEvent* event) {
    if (!core_.Key(ToControlKey(event->key()))) {
        MarkupControl::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The focus frame on the first link comes and goes with the focus.
void THTMLabel::focusInEvent(QFocusEvent* event) {
    MarkupControl::focusInEvent(event);
    core_.FocusChanged();
}

void THTMLabel::focusOutEvent(QFocusEvent* event) {
    MarkupControl::focusOutEvent(event);
    core_.FocusChanged();
}

AnchorHit THTMLabel::AnchorAt(std::int32_t x, std::int32_t y) {
    return View().HitTest(TextArea(), x, y);
}

void THTMLabel::InvalidateHoverRect(const Rect& r) {
    // The label has no window of its own: what lies under a highlight is the parent's to paint.
    if (QWidget* parent = parentWidget()) {
        parent->update(ToQRect(r).translated(pos()));
    }
}

void THTMLabel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    core_.MouseMove(at.x(), at.y(), Pointer());
}

void THTMLabel::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(*event);
    const QPoint at = event->position().toPoint();
    core_.MousePress(at.x(), at.y());
}

void THTMLabel::enterEvent(QEnterEvent* event) {
    MarkupControl::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

// The highlight is taken off before OnMouseLeave, so that a handler sees the label as the mouse left it.
void THTMLabel::leaveEvent(QEvent* event) {
    core_.MouseLeave(Pointer());
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
