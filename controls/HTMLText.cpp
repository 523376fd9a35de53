#include "controls/HTMLText.h"

#include "controls/ControlTimers.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/MarkupText.h"
#include "pictures/PictureContainer.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace velmora {

namespace {

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

// The static text's window as its core sees it.
class THTMLStaticText::Host final : public MarkupControlHost<StaticTextHost> {
public:
    explicit Host(THTMLStaticText& text) : MarkupControlHost(text), text_(text) {}

    void PaintNow(bool withFrame) override { text_.PaintMarkup(withFrame); }
    void OpenAnchor(const std::string& anchor, AnchorAction action) override {
        text_.OpenAnchor(anchor,
                         action == AnchorAction::Keypress ? text_.OnAnchorKeypress : text_.OnAnchorClick);
    }
    void StartTimer() override {
        text_.timerSource_ = &CurrentControlTimers();
        text_.timerId_ = text_.timerSource_->Start(text_, StaticTextCore::kTickInterval);
    }
    void StopTimer() override {
        text_.timerSource_->Stop(text_, text_.timerId_);
        text_.timerId_ = 0;
    }
    bool StepAnimations() override {
        const bool cacheChanged = text_.PictureCache().StepAnimations();
        const bool containerChanged =
            text_.PictureContainer() != nullptr && text_.PictureContainer()->Items().StepAnimations();
        return cacheChanged || containerChanged;
    }
    bool PointerInside(Point& at) const override {
        at = text_.CursorPos();
        return text_.ClientRect().Contains(at);
    }
    bool TextBlinks() const override {
        return UpperCaseAnsi(text_.GetJoinedText()).find("<BLINK") != std::string::npos;
    }
    Rect TextArea() const override { return text_.TextArea(); }

private:
    THTMLStaticText& text_;
};

THTMLStaticText::THTMLStaticText(QWidget* parent)
    : MarkupControl(
          parent, [this] { TextLinesChanged(); }, [this] { ++imagesGeneration_; }),
      host_(std::make_unique<Host>(*this)), core_(*host_, Hovering()) {
    Store(&Settings::ShadowOffset, 1);
    resize(100, 20);
    // Only TabStop lets the keyboard in, as the layouts expect of a static text.
    setFocusPolicy(Qt::NoFocus);
    EmptyCaption();
}

THTMLStaticText::~THTMLStaticText() {
    if (timerId_ != 0) {
        timerSource_->Stop(*this, timerId_);
    }
}

void THTMLStaticText::SetHTMLText(const std::vector<std::string>& lines) {
    HTMLText().Assign(lines);
}

void THTMLStaticText::SetHTMLTextList(const QStringList& lines) {
    SetHTMLText(StringsToLines(lines));
}

void THTMLStaticText::TextLinesChanged() {
    core_.TextChanged();
}

void THTMLStaticText::SetHover(bool on) {
    StoreAndRepaintChanged(&Settings::Hover, on);
}

void THTMLStaticText::SetVAlignment(TVAlignment alignment) {
    if (VAlignment() == alignment) {
        return;
    }
    Store(&Settings::VAlignment, alignment);
    if (alignment != tvaTop) {
        core_.EndMiniScroll();
    }
    update();
}

void THTMLStaticText::SetMiniScroll(bool on) {
    if (core_.MiniScroll() == on) {
        return;
    }
    if (on) {
        Store(&Settings::VAlignment, tvaTop);
    }
    core_.SetMiniScroll(on);
}

void THTMLStaticText::SetAutoScroll(bool on) {
    core_.SetAutoScroll(on, IsLoading());
}

void THTMLStaticText::SetEnableBlink(bool on) {
    core_.SetEnableBlink(on, IsLoading());
}

void THTMLStaticText::SetAutoSizing(bool on) {
    StoreAndRepaint(&Settings::AutoSizing, on);
}

void THTMLStaticText::SetTabStop(bool on) {
    tabStop_ = on;
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

bool THTMLStaticText::IsPropertyStored(const QString& name) const {
    if (name == QLatin1String("URLColor")) {
        return URLColor() != clBlue;
    }
    if (name == QLatin1String("ShadowColor")) {
        return ShadowColor() != clGray;
    }
    if (name == QLatin1String("ShadowOffset")) {
        return ShadowOffset() != -1;
    }
    if (name == QLatin1String("HoverColor")) {
        return HoverColor() != clNone;
    }
    if (name == QLatin1String("HoverFontColor")) {
        return HoverFontColor() != clNone;
    }
    if (name == QLatin1String("Hover")) {
        return Hover();
    }
    if (name == QLatin1String("EnableBlink")) {
        return core_.EnableBlink();
    }
    if (name == QLatin1String("Ellipsis")) {
        return Ellipsis();
    }
    if (name == QLatin1String("AnchorHint")) {
        return AnchorHint();
    }
    return MarkupControl::IsPropertyStored(name);
}

void THTMLStaticText::Loaded() {
    MarkupControl::Loaded();
    // A timer stopped here is forgotten too, so that switching blinking on later starts a new one.
    core_.UpdateTimer(false, IsLoading());
}

void THTMLStaticText::ScrollTo(std::int32_t offset) {
    core_.ScrollTo(offset);
}

// repaint, not update: callers read AnchorCount and FocusHref as soon as this returns.
void THTMLStaticText::PaintMarkup(bool withFrame) {
    if (withFrame) {
        repaint();
    } else {
        repaint(ToQRect(TextArea()));
    }
}

void THTMLStaticText::ShapeRequest(MarkupRequest& request) const {
    request.BlinkVisible = core_.BlinkPhase();
    request.WordWrap = !Ellipsis();
    request.Flavor = MarkupFlavor::StaticText;
}

THTMLStaticText::PaintKey THTMLStaticText::CurrentPaintKey() const {
    PaintKey key;
    key.Request = View().NewRequest(StaticTextLayoutBounds(View().Settings(), core_, ClientRect()),
                                    CursorPos(), hasFocus() ? core_.FocusAnchor() : -1);
    key.Markup = GetJoinedText();
    key.Font = Font();
    key.Color = Color();
    key.Frames = Frames();
    key.VAlignment = VAlignment();
    key.Enabled = isEnabled();
    key.Focused = hasFocus();
    key.Size = size();
    key.PixelRatio = devicePixelRatioF();
    key.DpiX = logicalDpiX();
    key.DpiY = logicalDpiY();
    key.Palette = QGuiApplication::palette().cacheKey();
    key.Images = Images();
    key.ImagesGeneration = imagesGeneration_;
    const auto addPicture = [&key](const THTMLPicture& picture) {
        key.Pictures.push_back({&picture, picture.ImageData().data(), picture.ImageData().size(),
                                picture.Decoded(), picture.Frame()});
    };
    const THTMLPictureCache& cache = PictureCache();
    for (std::int32_t i = 0; i < cache.Count(); ++i) {
        addPicture(cache.Items(i));
    }
    if (PictureContainer() != nullptr) {
        const TPictureCollection& items = PictureContainer()->Items();
        for (std::int32_t i = 0; i < items.Count(); ++i) {
            addPicture(items.Items(i).Picture());
        }
    }
    return key;
}

void THTMLStaticText::paintEvent(QPaintEvent*) {
    EmptyCaption();
    const PaintKey key = CurrentPaintKey();
    if (drawnKey_ != key) {
        const qreal ratio = key.PixelRatio;
        // A background of no colour leaves the window behind showing; an opaque one needs no alpha, so
        // that showing the picture is a plain copy.
        const QColor background = ToQColor(Color());
        const QImage::Format format =
            background.isValid() ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
        if (drawn_.size() != size() * ratio || drawn_.devicePixelRatio() != ratio ||
            drawn_.format() != format) {
            drawn_ = QImage(size() * ratio, format);
            drawn_.setDevicePixelRatio(ratio);
        }
        drawn_.setDotsPerMeterX(qRound(key.DpiX / 0.0254));
        drawn_.setDotsPerMeterY(qRound(key.DpiY / 0.0254));
        drawn_.fill(background.isValid() ? background : QColor(Qt::transparent));
        {
            QPainter painter(&drawn_);
            QtCanvas canvas(painter, style());
            DrawStaticText(canvas, View(), core_, CurrentPaintState());
        }
        // Drawing may have added pictures or resized the control: remember what it ended with.
        drawnKey_ = CurrentPaintKey();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, drawn_);
}

AnchorHit THTMLStaticText::AnchorAt(std::int32_t x, std::int32_t y) {
    return View().HitTest(StaticTextHitBounds(View().Settings(), core_, ClientRect()), x, y);
}

void THTMLStaticText::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    core_.MouseMove(at.x(), at.y(), Pointer());
}

void THTMLStaticText::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(*event);
    const QPoint at = event->position().toPoint();
    core_.MousePress(at.x(), at.y());
}

void THTMLStaticText::mouseReleaseEvent(QMouseEvent* event) {
    MarkupControl::mouseReleaseEvent(event);
    core_.MouseRelease();
}

void THTMLStaticText::enterEvent(QEnterEvent* event) {
    const QPoint at = event->position().toPoint();
    core_.MouseEnter(at.x(), at.y(), Pointer());
    MarkupControl::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

void THTMLStaticText::leaveEvent(QEvent* event) {
    core_.MouseLeave(Pointer());
    MarkupControl::leaveEvent(event);
    RaiseNotify(OnMouseLeave);
}

void THTMLStaticText::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (IsArrowKey(key)) {
        core_.Key(ToControlKey(key));
        event->accept();
        return;
    }
    MarkupControl::keyPressEvent(event);
    if (core_.Key(ToControlKey(key))) {
        event->accept();
    }
}

void THTMLStaticText::focusInEvent(QFocusEvent* event) {
    MarkupControl::focusInEvent(event);
    core_.FocusIn();
}

void THTMLStaticText::focusOutEvent(QFocusEvent* event) {
    MarkupControl::focusOutEvent(event);
    core_.FocusOut();
}

// Wrapping, the scroll arrows and vertical alignment all follow the size.
void THTMLStaticText::resizeEvent(QResizeEvent* event) {
    MarkupControl::resizeEvent(event);
    update();
}

void THTMLStaticText::changeEvent(QEvent* event) {
    MarkupControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

void THTMLStaticText::timerEvent(QTimerEvent* event) {
    // Timers the framework starts on this object are the base's business.
    if (timerId_ == 0 || event->timerId() != timerId_) {
        MarkupControl::timerEvent(event);
        return;
    }
    core_.Tick();
}

MarkupControl::HintInfo THTMLStaticText::HintAt(QPoint point) {
    HintInfo info;
    if (AnchorHint()) {
        const AnchorHit hit = AnchorAt(point.x(), point.y());
        if (!hit.Anchor.empty()) {
            info.Text = hit.Anchor;
            info.GlobalPos = mapToGlobal(point) + QPoint(10, -10);
            info.Moved = true;
            return info;
        }
    }
    info.Text = Hint();
    return info;
}

bool THTMLStaticText::event(QEvent* event) {
    // Claimed early, or the window would move the focus on an arrow before keyPressEvent saw it.
    if (event->type() == QEvent::ShortcutOverride && IsArrowKey(static_cast<QKeyEvent*>(event)->key())) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        return ShowHintFor(*static_cast<QHelpEvent*>(event));
    }
    return MarkupControl::event(event);
}

} // namespace velmora
