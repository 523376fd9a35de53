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
    shadowOffset_ = 1;
    resize(100, 20);
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
    hoverAnchor_ = -1;
    focusAnchor_ = -1;
    update();
}

void THTMLStaticText::SetURLColor(TColor color) {
    StoreAndRepaintChanged(urlColor_, color);
}

void THTMLStaticText::SetHover(bool on) {
    StoreAndRepaintChanged(hover_, on);
}

void THTMLStaticText::SetVAlignment(TVAlignment alignment) {
    if (vAlignment_ == alignment) {
        return;
    }
    vAlignment_ = alignment;
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
        vAlignment_ = tvaTop;
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

void THTMLStaticText::SetEllipsis(bool on) {
    StoreAndRepaintChanged(ellipsis_, on);
}

void THTMLStaticText::SetAutoSizing(bool on) {
    StoreAndRepaint(autoSizing_, on);
}

void THTMLStaticText::SetImages(ImageList* list) {
    imageListLink_.Attach(list);
    update();
}

void THTMLStaticText::SetTabStop(bool on) {
    tabStop_ = on;
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

bool THTMLStaticText::IsPropertyStored(const QString& name) const {
    if (name == QLatin1String("URLColor")) {
        return urlColor_ != clBlue;
    }
    if (name == QLatin1String("ShadowColor")) {
        return shadowColor_ != clGray;
    }
    if (name == QLatin1String("ShadowOffset")) {
        return shadowOffset_ != -1;
    }
    if (name == QLatin1String("HoverColor")) {
        return hoverColor_ != clNone;
    }
    if (name == QLatin1String("HoverFontColor")) {
        return hoverFontColor_ != clNone;
    }
    if (name == QLatin1String("Hover")) {
        return hover_;
    }
    if (name == QLatin1String("EnableBlink")) {
        return enableBlink_;
    }
    if (name == QLatin1String("Ellipsis")) {
        return ellipsis_;
    }
    if (name == QLatin1String("AnchorHint")) {
        return anchorHint_;
    }
    return MarkupControl::IsPropertyStored(name);
}

void THTMLStaticText::StartOrStopTimer(bool blinkSwitchedOff) {
    if (loading_) {
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

void THTMLStaticText::PaintMarkup(bool withFrame) {
    if (withFrame) {
        repaint();
    } else {
        repaint(ToQRect(TextArea()));
    }
}

MarkupRequest THTMLStaticText::PaintRequest(const Rect& bounds, Point mouse, std::int32_t focus) const {
    MarkupRequest request = SharedRequest(bounds, mouse, focus);
    request.blinkVisible = blinkPhase_;
    request.wordWrap = !ellipsis_;
    request.flavor = MarkupFlavor::StaticText;
    return request;
}

RenderMarkupParams THTMLStaticText::PaintArguments(Canvas& canvas, const std::string& markup,
                                                   const Rect& bounds, Point mouse,
                                                   std::int32_t focus) const {
    RenderMarkupParams params;
    static_cast<MarkupRequest&>(params) = PaintRequest(bounds, mouse, focus);
    params.markup = markup;
    params.canvas = &canvas;
    params.imageList = Images();
    params.pictureCache = pictureCache_.get();
    params.pictureContainer = pictureContainer_;
    params.shellIcons = shellIcons_.get();
    return params;
}

Rect THTMLStaticText::LayoutBounds() const {
    Rect bounds = ExtendForAutoSize(TextArea(), AutoSizeRulesFor(autoSizing_, align_, autoSizeType_));
    if (miniScroll_) {
        bounds.Top -= scrollOffset_;
        bounds.Right -= kArrowSize;
    }
    return bounds;
}

THTMLStaticText::PaintKey THTMLStaticText::CurrentPaintKey() const {
    PaintKey key;
    key.Request = PaintRequest(LayoutBounds(), CursorPos(), hasFocus() ? focusAnchor_ : -1);
    key.Markup = GetJoinedText();
    key.Font = font_;
    key.Color = color_;
    key.Frames = frames_;
    key.VAlignment = vAlignment_;
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
    for (std::int32_t i = 0; i < pictureCache_->Count(); ++i) {
        addPicture(pictureCache_->Items(i));
    }
    if (pictureContainer_ != nullptr) {
        const TPictureCollection& items = pictureContainer_->Items();
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
        const QColor background = ToQColor(color_);
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
    canvas.SetBrushColor(color_);
    canvas.SetFont(font_);
    const Rect inside = DrawBevels(canvas);
    canvas.SetPenColor(color_);
    canvas.SetPenWidth(0);
    canvas.SetBrushColor(color_);
    DrawSingleBorder(canvas, inside);

    const Rect area = TextArea();
    const std::string markup = GetJoinedText();
    Rect bounds = LayoutBounds();
    const std::int32_t focus = hasFocus() ? focusAnchor_ : -1;
    const Point mouse = CursorPos();

    if (miniScroll_) {
        upArrowShown_ = false;
        downArrowShown_ = false;
        RenderMarkupParams measure = PaintArguments(canvas, markup, bounds, mouse, focus);
        measure.noDraw = true;
        measure.measureOnly = true;
        RenderMarkup(measure);
        if (static_cast<std::int64_t>(measure.textHeight) >=
            static_cast<std::int64_t>(height()) + scrollOffset_) {
            canvas.DrawScrollArrow(
                {area.Right - kArrowSize, area.Bottom - kArrowSize, area.Right, area.Bottom},
                ScrollArrow::Down);
            downArrowShown_ = true;
        }
        if (scrollOffset_ > 0) {
            canvas.DrawScrollArrow({area.Right - kArrowSize, area.Top, area.Right, area.Top + kArrowSize},
                                   ScrollArrow::Up);
            upArrowShown_ = true;
        }
    }
    AlignVertically(canvas, markup, bounds, mouse, focus);

    RenderMarkupParams last;
    {
        ClipScope clip(canvas);
        // Scrolled text stays inside the frames instead of running over the top bevel.
        canvas.SetClipRect(Intersection(bounds, area));
        if (isEnabled()) {
            last = PaintArguments(canvas, markup, bounds, mouse, focus);
            RenderMarkup(last);
        } else {
            RenderMarkupParams raised = PaintArguments(canvas, markup, bounds.Offset(1, 1), {0, 0}, focus);
            raised.imageList = nullptr;
            raised.urlColor = clWhite;
            raised.hoverColor = clNone;
            raised.hoverFontColor = clNone;
            canvas.SetFontColor(clWhite);
            RenderMarkup(raised);
            last = PaintArguments(canvas, markup, bounds, {0, 0}, focus);
            last.urlColor = clGray;
            last.hoverColor = clNone;
            last.hoverFontColor = clNone;
            canvas.SetFontColor(clGray);
            RenderMarkup(last);
        }
    }
    anchorCount_ = last.anchorCount;
    focusHref_ = last.focusHref;

    FitToText(AutoSizeRulesFor(autoSizing_, align_, autoSizeType_), last.textWidth, last.textHeight);
}

AnchorHit THTMLStaticText::AnchorAt(std::int32_t x, std::int32_t y) {
    Rect bounds = ClientRect();
    if (miniScroll_) {
        bounds.Top -= scrollOffset_;
        bounds.Right -= kArrowSize;
    }
    return HitTest(velmora::TextArea(bounds, frames_), x, y);
}

void THTMLStaticText::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty()) {
        if (hit.AnchorRect.Left == -1) {
            PaintMarkup(false);
        }
        focusAnchor_ = -1;
        if (hover_ && (hit.Anchor != lastAnchor_ || hit.AnchorRect != hoverRect_ || hoverAnchor_ == -1 ||
                       lastHoverAnchor_ != hoverAnchor_)) {
            update(ToQRect(hoverRect_));
        }
        if (!CursorIsHand() || hit.Anchor != lastAnchor_) {
            lastAnchor_ = hit.Anchor;
            if (anchorHint_) {
                QToolTip::hideText();
            }
            ShowHandCursor();
            RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
            if (hover_ && hit.AnchorRect.Left != -1) {
                update(ToQRect(hit.AnchorRect));
            }
            lastHoverAnchor_ = hoverAnchor_;
            hoverRect_ = hit.AnchorRect;
        }
    } else if (CursorIsHand()) {
        ShowDefaultCursor();
        focusAnchor_ = -1;
        if (hover_) {
            update(ToQRect(hoverRect_));
            hoverAnchor_ = -1;
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
    const QPoint at = event->position().toPoint();
    const AnchorHit hit = AnchorAt(at.x(), at.y());
    if (!hit.Anchor.empty() && (!CursorIsHand() || hit.Anchor != lastAnchor_)) {
        lastAnchor_ = hit.Anchor;
        if (anchorHint_) {
            QToolTip::hideText();
        }
        ShowHandCursor();
        RaiseAnchorEvent(OnAnchorEnter, hit.Anchor);
        if (hover_) {
            PaintMarkup(false);
        }
        hoverRect_ = hit.AnchorRect;
    }
    MarkupControl::enterEvent(event);
    RaiseNotify(OnMouseEnter);
}

void THTMLStaticText::leaveEvent(QEvent* event) {
    if (hoverAnchor_ >= 0) {
        hoverAnchor_ = -1;
        if (hover_) {
            update(ToQRect(hoverRect_));
        }
    }
    MarkupControl::leaveEvent(event);
    RaiseNotify(OnMouseLeave);
}

void THTMLStaticText::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
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
    const bool cacheChanged = pictureCache_->StepAnimations();
    const bool containerChanged = pictureContainer_ != nullptr && pictureContainer_->Items().StepAnimations();
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
    if (anchorHint_) {
        const AnchorHit hit = AnchorAt(point.x(), point.y());
        if (!hit.Anchor.empty()) {
            info.Text = hit.Anchor;
            info.GlobalPos = mapToGlobal(point) + QPoint(10, -10);
            info.Moved = true;
            return info;
        }
    }
    info.Text = hint_;
    return info;
}

bool THTMLStaticText::event(QEvent* event) {
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
