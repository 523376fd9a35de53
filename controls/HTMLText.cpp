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

constexpr int kTimerInterval = 100;
constexpr std::int32_t kArrowSize = 10;
constexpr std::int32_t kScrollStep = 4;
constexpr std::int32_t kTicksPerBlink = 5;

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

THTMLStaticText::THTMLStaticText(QWidget* parent)
    : MarkupControl(
          parent, [this] { TextLinesChanged(); }, [this] { ++imagesGeneration_; }) {
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

// Anchor numbers belong to the old text: hover and focus start again.
void THTMLStaticText::TextLinesChanged() {
    Hovering().Anchor = -1;
    focusAnchor_ = -1;
    update();
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
        miniScroll_ = false;
    }
    update();
}

void THTMLStaticText::SetMiniScroll(bool on) {
    if (miniScroll_ == on) {
        return;
    }
    if (on) {
        Store(&Settings::VAlignment, tvaTop);
    } else {
        scrollOffset_ = 0;
    }
    miniScroll_ = on;
    update();
}

void THTMLStaticText::SetAutoScroll(bool on) {
    autoScroll_ = on;
    StartOrStopTimer(false);
}

void THTMLStaticText::SetEnableBlink(bool on) {
    enableBlink_ = on;
    StartOrStopTimer(true);
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
        return enableBlink_;
    }
    if (name == QLatin1String("Ellipsis")) {
        return Ellipsis();
    }
    if (name == QLatin1String("AnchorHint")) {
        return AnchorHint();
    }
    return MarkupControl::IsPropertyStored(name);
}

void THTMLStaticText::StartOrStopTimer(bool blinkSwitchedOff) {
    // Settings a layout makes while it loads start nothing; Loaded starts the timer they ask for.
    if (IsLoading()) {
        return;
    }
    if ((enableBlink_ || autoScroll_) && timerId_ == 0) {
        timerSource_ = &CurrentControlTimers();
        timerId_ = timerSource_->Start(*this, kTimerInterval);
    } else if (!enableBlink_ && !autoScroll_ && timerId_ != 0) {
        timerSource_->Stop(*this, timerId_);
        timerId_ = 0;
        if (blinkSwitchedOff) {
            update();
            blinkPhase_ = false;
        }
    }
}

void THTMLStaticText::Loaded() {
    MarkupControl::Loaded();
    // A timer stopped here is forgotten too, so that switching blinking on later starts a new one.
    StartOrStopTimer(false);
}

void THTMLStaticText::ScrollTo(std::int32_t offset) {
    if (!miniScroll_) {
        return;
    }
    if (offset < 0) {
        scrollOffset_ = 0;
        return;
    }
    scrollOffset_ = offset;
    repaint();
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
    request.BlinkVisible = blinkPhase_;
    request.WordWrap = !Ellipsis();
    request.Flavor = MarkupFlavor::StaticText;
}

Rect THTMLStaticText::LayoutBounds() const {
    Rect bounds = ExtendForAutoSize(TextArea(), AutoSizeRulesFor(AutoSizing(), Align(), AutoSizeType()));
    if (miniScroll_) {
        bounds.Top -= scrollOffset_;
        bounds.Right -= kArrowSize;
    }
    return bounds;
}

THTMLStaticText::PaintKey THTMLStaticText::CurrentPaintKey() const {
    PaintKey key;
    key.Request = NewRequest(LayoutBounds(), CursorPos(), hasFocus() ? focusAnchor_ : -1);
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
            DrawMarkup(canvas);
        }
        // Drawing may have added pictures or resized the control: remember what it ended with.
        drawnKey_ = CurrentPaintKey();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, drawn_);
}

void THTMLStaticText::DrawMarkup(Canvas& canvas) {
    canvas.SetBrushColor(Color());
    canvas.SetFont(Font());
    const Rect inside = DrawBevels(canvas);
    canvas.SetPenColor(Color());
    canvas.SetPenWidth(0);
    canvas.SetBrushColor(Color());
    DrawSingleBorder(canvas, inside);

    const Rect area = TextArea();
    const std::string markup = GetJoinedText();
    Rect bounds = LayoutBounds();
    const std::int32_t focus = hasFocus() ? focusAnchor_ : -1;
    const Point mouse = CursorPos();

    if (miniScroll_) {
        DrawScrollArrows(NewCall(canvas, markup, bounds, mouse, focus), area);
    }
    AlignVertically(canvas, markup, bounds, mouse, focus);

    MarkupResult last;
    {
        ClipScope clip(canvas);
        // Scrolled text stays inside the frames instead of running over the top bevel.
        canvas.SetClipRect(Intersection(bounds, area));
        if (isEnabled()) {
            MarkupCall draw = NewCall(canvas, markup, bounds, mouse, focus);
            draw.Run();
            last = draw.Result;
        } else {
            // Disabled text is embossed: white one pixel down and right, then grey in place.
            MarkupCall raised = NewCall(canvas, markup, bounds.Offset(1, 1), {0, 0}, focus);
            raised.Sources.Images = nullptr;
            raised.Request.UrlColor = clWhite;
            raised.Request.HoverColor = clNone;
            raised.Request.HoverFontColor = clNone;
            canvas.SetFontColor(clWhite);
            raised.Run();
            MarkupCall grey = NewCall(canvas, markup, bounds, {0, 0}, focus);
            grey.Request.UrlColor = clGray;
            grey.Request.HoverColor = clNone;
            grey.Request.HoverFontColor = clNone;
            canvas.SetFontColor(clGray);
            grey.Run();
            last = grey.Result;
        }
    }
    anchorCount_ = last.AnchorCount;
    focusHref_ = last.FocusHref;

    FitToText(AutoSizeRulesFor(AutoSizing(), Align(), AutoSizeType()), last.TextWidth, last.TextHeight);
}

// The arrows show where there is more text: below when the whole text, measured, reaches past the box,
// above when it is scrolled.
void THTMLStaticText::DrawScrollArrows(MarkupCall measure, const Rect& area) {
    upArrowShown_ = false;
    downArrowShown_ = false;
    measure.Request.NoDraw = true;
    measure.Request.MeasureOnly = true;
    measure.Run();
    if (static_cast<std::int64_t>(measure.Result.TextHeight) >=
        static_cast<std::int64_t>(height()) + scrollOffset_) {
        measure.Target.DrawScrollArrow(
            {area.Right - kArrowSize, area.Bottom - kArrowSize, area.Right, area.Bottom}, ScrollArrow::Down);
        downArrowShown_ = true;
    }
    if (scrollOffset_ > 0) {
        measure.Target.DrawScrollArrow({area.Right - kArrowSize, area.Top, area.Right, area.Top + kArrowSize},
                                       ScrollArrow::Up);
        upArrowShown_ = true;
    }
}

AnchorHit THTMLStaticText::AnchorAt(std::int32_t x, std::int32_t y) {
    Rect bounds = ClientRect();
    if (miniScroll_) {
        bounds.Top -= scrollOffset_;
        bounds.Right -= kArrowSize;
    }
    return HitTest(velmora::TextArea(bounds, Frames()), x, y);
}

void THTMLStaticText::mouseMoveEvent(QMouseEvent* event) {
    AnchorHover& hovering = Hovering();
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty()) {
        if (hit.AnchorRect.Left == -1) {
            PaintMarkup(false);
        }
        focusAnchor_ = -1;
        if (Hover() && (hit.Anchor != hovering.LastAnchor || hit.AnchorRect != hovering.AnchorRect ||
                        hovering.Anchor == -1 || hovering.LastAnchorNumber != hovering.Anchor)) {
            update(ToQRect(hovering.AnchorRect));
        }
        if (!CursorIsHand() || hit.Anchor != hovering.LastAnchor) {
            hovering.LastAnchor = hit.Anchor;
            if (AnchorHint()) {
                QToolTip::hideText();
            }
            ShowHandCursor();
            RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
            if (Hover() && hit.AnchorRect.Left != -1) {
                update(ToQRect(hit.AnchorRect));
            }
            hovering.LastAnchorNumber = hovering.Anchor;
            hovering.AnchorRect = hit.AnchorRect;
        }
    } else if (CursorIsHand()) {
        ShowDefaultCursor();
        focusAnchor_ = -1;
        if (Hover()) {
            update(ToQRect(hovering.AnchorRect));
            hovering.Anchor = -1;
            PaintMarkup(false);
        }
        RaiseAnchorEvent(OnAnchorExit, std::string());
    }
}

void THTMLStaticText::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(*event);
    buttonDown_ = true;
    const QPoint at = event->position().toPoint();
    if (miniScroll_ && (upArrowShown_ || downArrowShown_)) {
        ScrollByArrowAt(at.x(), at.y());
    }
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty()) {
        OpenAnchor(hit.Anchor, OnAnchorClick);
    }
}

void THTMLStaticText::ScrollByArrowAt(std::int32_t x, std::int32_t y) {
    const Rect area = TextArea();
    if (upArrowShown_ && x > area.Right - kArrowSize && y < area.Top + kArrowSize) {
        ScrollTo(scrollOffset_ - kScrollStep);
    }
    if (downArrowShown_ && x > area.Right - kArrowSize && y > area.Bottom - kArrowSize) {
        ScrollTo(scrollOffset_ + kScrollStep);
    }
}

void THTMLStaticText::mouseReleaseEvent(QMouseEvent* event) {
    MarkupControl::mouseReleaseEvent(event);
    buttonDown_ = false;
}

void THTMLStaticText::enterEvent(QEnterEvent* event) {
    AnchorHover& hovering = Hovering();
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty() && (!CursorIsHand() || hit.Anchor != hovering.LastAnchor)) {
        hovering.LastAnchor = hit.Anchor;
        if (AnchorHint()) {
            QToolTip::hideText();
        }
        ShowHandCursor();
        RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
        if (Hover()) {
            PaintMarkup(false);
        }
        hovering.AnchorRect = hit.AnchorRect;
    }
    MarkupControl::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

void THTMLStaticText::leaveEvent(QEvent* event) {
    AnchorHover& hovering = Hovering();
    if (hovering.Anchor >= 0) {
        hovering.Anchor = -1;
        if (Hover()) {
            update(ToQRect(hovering.AnchorRect));
        }
    }
    MarkupControl::leaveEvent(event);
    RaiseNotify(OnMouseLeave);
}

void THTMLStaticText::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // The frame is painted off the old anchor and onto the new one at once, as the keys repeat.
    if (key == Qt::Key_Left || key == Qt::Key_Up) {
        PaintMarkup(false);
        focusAnchor_ = focusAnchor_ <= 0 ? anchorCount_ - 1 : focusAnchor_ - 1;
        PaintMarkup(false);
        event->accept();
        return;
    }
    if (key == Qt::Key_Right || key == Qt::Key_Down) {
        PaintMarkup(false);
        focusAnchor_ = focusAnchor_ < anchorCount_ - 1 ? focusAnchor_ + 1 : 0;
        PaintMarkup(false);
        event->accept();
        return;
    }
    MarkupControl::keyPressEvent(event);
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        // The target is read as the frame is drawn: a key right after Tab comes before that paint.
        repaint();
        OpenAnchor(focusHref_, OnAnchorKeypress);
        event->accept();
    }
}

void THTMLStaticText::focusInEvent(QFocusEvent* event) {
    MarkupControl::focusInEvent(event);
    if (focusAnchor_ < 0) {
        focusAnchor_ = 0;
    }
    update();
}

void THTMLStaticText::focusOutEvent(QFocusEvent* event) {
    MarkupControl::focusOutEvent(event);
    update();
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
    if (enableBlink_ || autoScroll_) {
        Tick();
    }
}

void THTMLStaticText::Tick() {
    tickCount_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(tickCount_) + 1u);
    const bool cacheChanged = PictureCache().StepAnimations();
    const bool containerChanged =
        PictureContainer() != nullptr && PictureContainer()->Items().StepAnimations();
    // Only a picture that stepped to another frame needs the text drawn again.
    if (cacheChanged || containerChanged) {
        PaintMarkup(false);
    }
    if (miniScroll_ && (upArrowShown_ || downArrowShown_) && (buttonDown_ || autoScroll_)) {
        const Point cursor = CursorPos();
        if (ClientRect().Contains(cursor)) {
            ScrollByArrowAt(cursor.X, cursor.Y);
        }
    }
    if (tickCount_ % kTicksPerBlink == 0 &&
        UpperCaseAnsi(GetJoinedText()).find("<BLINK") != std::string::npos) {
        PaintMarkup(true);
        blinkPhase_ = !blinkPhase_;
    }
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
