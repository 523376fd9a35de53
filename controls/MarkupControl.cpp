#include "controls/MarkupControl.h"

#include "controls/BevelFrame.h"
#include "controls/LazyShellIcons.h"
#include "controls/MarkupLinks.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/PlainText.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "platform/desktop/ShellOpen.h"
#include "text/Windows1252.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace velmora {

MarkupControl::MarkupControl(QWidget* parent, std::function<void()> onTextChanged,
                             std::function<void()> onImagesChanged)
    : QLabel(parent), pictureCache_(std::make_unique<THTMLPictureCache>(QtPictureBackend())),
      shellIcons_(std::make_unique<LazyShellIcons>()), imageListLink_(std::move(onImagesChanged)),
      htmlText_(std::move(onTextChanged)), measureSurface_(1, 1, QImage::Format_ARGB32_Premultiplied) {
    setMouseTracking(true);
}

MarkupControl::~MarkupControl() {
    pictureCache_->ReleaseAllPictures();
}

void MarkupControl::SetColor(TColor color) {
    StoreAndRepaint(color_, color);
}

void MarkupControl::SetFont(const FontState& font) {
    StoreAndRepaint(font_, font);
}

void MarkupControl::SetAlign(TAlign align) {
    StoreAndRepaint(align_, align);
}

QStringList MarkupControl::HTMLTextList() const {
    return LinesToStrings(htmlText_.Lines());
}

std::string MarkupControl::GetJoinedText() const {
    return htmlText_.Joined();
}

void MarkupControl::SetShadowColor(TColor color) {
    StoreAndRepaint(shadowColor_, color);
}

void MarkupControl::SetShadowOffset(std::int32_t offset) {
    StoreAndRepaint(shadowOffset_, offset);
}

void MarkupControl::SetBevelInner(TBevelCut cut) {
    StoreAndRepaint(frames_.BevelInner, cut);
}

void MarkupControl::SetBevelOuter(TBevelCut cut) {
    StoreAndRepaint(frames_.BevelOuter, cut);
}

void MarkupControl::SetBevelWidth(std::int32_t width) {
    frames_.BevelWidth = std::max(1, width);
    update();
}

void MarkupControl::SetBorderWidth(std::int32_t width) {
    frames_.BorderWidth = std::max(0, width);
    update();
}

void MarkupControl::SetBorderStyle(TBorderStyle style) {
    StoreAndRepaint(frames_.BorderStyle, style);
}

bool MarkupControl::IsPropertyStored(const QString& name) const {
    if (name == QLatin1String("HTMLText")) {
        return htmlText_.Count() > 0;
    }
    if (name == QLatin1String("BevelInner")) {
        return frames_.BevelInner != bvNone;
    }
    if (name == QLatin1String("BevelOuter")) {
        return frames_.BevelOuter != bvNone;
    }
    if (name == QLatin1String("BevelWidth")) {
        return frames_.BevelWidth != 1;
    }
    if (name == QLatin1String("BorderWidth")) {
        return frames_.BorderWidth != 0;
    }
    if (name == QLatin1String("BorderStyle")) {
        return frames_.BorderStyle != bsNone;
    }
    if (name == QLatin1String("Images")) {
        return Images() != nullptr;
    }
    if (name == QLatin1String("PictureContainer")) {
        return pictureContainer_ != nullptr;
    }
    return true;
}

void MarkupControl::ComponentRemoved(const ImageList* list) {
    if (list != nullptr && list == Images()) {
        imageListLink_.Attach(nullptr);
    }
}

void MarkupControl::ComponentRemoved(const TPictureContainer* container) {
    if (container != nullptr && container == pictureContainer_) {
        pictureContainer_ = nullptr;
    }
}

void MarkupControl::Loaded() {
    loading_ = false;
    EmptyCaption();
}

Rect MarkupControl::TextArea() const {
    return velmora::TextArea(ClientRect(), frames_);
}

void MarkupControl::EmptyCaption() {
    if (!text().isEmpty()) {
        setText(QString());
    }
}

bool MarkupControl::CursorIsHand() const {
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::PointingHandCursor;
}

void MarkupControl::ShowHandCursor() {
    setCursor(Qt::PointingHandCursor);
}

void MarkupControl::ShowDefaultCursor() {
    unsetCursor();
}

Point MarkupControl::CursorPos() const {
    const QPoint local = mapFromGlobal(QCursor::pos());
    return {local.x(), local.y()};
}

void MarkupControl::OpenAnchor(const std::string& anchor, const TAnchorClick& event) {
    if (IsShellTarget(anchor)) {
        ShellOpen(anchor);
    } else {
        RaiseAnchorEvent(event, anchor);
    }
}

void MarkupControl::RaiseMouseDown(const QMouseEvent& event) {
    if (OnMouseDown) {
        const QPoint at = event.position().toPoint();
        OnMouseDown(this, event.button(), event.modifiers(), at.x(), at.y());
    }
}

void MarkupControl::RaiseAnchorEvent(const TAnchorClick& event, const std::string& anchor) {
    if (event) {
        event(this, anchor);
    }
}

void MarkupControl::RaiseNotify(const TNotifyEvent& event) {
    if (event) {
        event(this);
    }
}

void MarkupControl::WithMeasureCanvas(const std::function<void(Canvas&)>& use) {
    const int dotsPerMeterX = qRound(logicalDpiX() / 0.0254);
    const int dotsPerMeterY = qRound(logicalDpiY() / 0.0254);
    if (measureSurface_.dotsPerMeterX() != dotsPerMeterX ||
        measureSurface_.dotsPerMeterY() != dotsPerMeterY) {
        measureSurface_.setDotsPerMeterX(dotsPerMeterX);
        measureSurface_.setDotsPerMeterY(dotsPerMeterY);
    }
    QPainter painter(&measureSurface_);
    QtCanvas canvas(painter, style());
    canvas.SetFont(font_);
    canvas.SetBrushColor(color_);
    use(canvas);
}

MarkupRequest MarkupControl::SharedRequest(const Rect& bounds, Point mouse, std::int32_t focus) const {
    MarkupRequest request;
    request.bounds = bounds;
    request.hitX = mouse.X;
    request.hitY = mouse.Y;
    request.focusAnchor = focus;
    request.hoverAnchor = hoverAnchor_;
    request.shadowOffset = shadowOffset_;
    request.hoverEnabled = hover_;
    request.urlColor = urlColor_;
    request.hoverColor = hoverColor_;
    request.hoverFontColor = hoverFontColor_;
    request.shadowColor = shadowColor_;
    return request;
}

void MarkupControl::AlignVertically(Canvas& canvas, const std::string& markup, Rect& bounds, Point mouse,
                                    std::int32_t focus) {
    if (vAlignment_ != tvaCenter && vAlignment_ != tvaBottom) {
        return;
    }
    RenderMarkupParams measure = PaintArguments(canvas, markup, bounds, mouse, focus);
    measure.noDraw = true;
    Render(measure);
    ApplyVAlignment(vAlignment_, bounds, measure.textHeight, height());
}

AnchorHit MarkupControl::HitTest(Rect bounds, std::int32_t x, std::int32_t y) {
    AnchorHit hit;
    const std::string markup = GetJoinedText();
    WithMeasureCanvas([&](Canvas& canvas) {
        AlignVertically(canvas, markup, bounds, {x, y}, -1);
        RenderMarkupParams params = PaintArguments(canvas, markup, bounds, {x, y}, -1);
        params.noDraw = true;
        params.hoverAnchor = -1;
        params.urlColor = clWhite;
        params.hoverColor = clNone;
        params.hoverFontColor = clNone;
        params.shadowColor = clNone;
        params.blinkVisible = false;
        const bool found = Render(params);
        hoverAnchor_ = params.hitAnchorNumber;
        hit.AnchorRect = params.hitAnchorRect;
        if (found) {
            hit.Anchor = params.hitAnchor;
        } else {
            hoverAnchor_ = -1;
        }
    });
    return hit;
}

Rect MarkupControl::DrawBevels(Canvas& canvas) {
    Rect r = ClientRect();
    if (frames_.BevelOuter != bvNone) {
        const BevelPair colors = BevelColors(frames_.BevelOuter);
        DrawBevelFrame(canvas, r, colors.TopLeft, colors.BottomRight, frames_.BevelWidth);
    }
    DrawBevelFrame(canvas, r, color_, color_, frames_.BorderWidth);
    if (frames_.BevelInner != bvNone) {
        const BevelPair colors = BevelColors(frames_.BevelInner);
        DrawBevelFrame(canvas, r, colors.TopLeft, colors.BottomRight, frames_.BevelWidth);
    }
    return r;
}

void MarkupControl::DrawSingleBorder(Canvas& canvas, const Rect& inside) {
    if (frames_.BorderStyle == bsSingle && frames_.BorderWidth > 0) {
        canvas.SetPenWidth(frames_.BorderWidth);
        canvas.SetPenColor(clBlack);
        canvas.Rectangle(inside);
    }
}

void MarkupControl::FitToText(AutoSizeRules rules, std::int32_t textWidth, std::int32_t textHeight) {
    const auto extent = [](std::int32_t text) {
        return static_cast<int>(
            std::clamp<std::int64_t>(static_cast<std::int64_t>(text) + kAutoSizeMargin, 0, QWIDGETSIZE_MAX));
    };
    const int newWidth = rules.Horizontal ? extent(textWidth) : width();
    const int newHeight = rules.Vertical ? extent(textHeight) : height();
    if (newWidth != width() || newHeight != height()) {
        resize(newWidth, newHeight);
    }
}

bool MarkupControl::ShowHintFor(const QHelpEvent& event) {
    const HintInfo hint = HintAt(event.pos());
    const QPoint where = hint.Moved ? hint.GlobalPos : event.globalPos();
    QToolTip::showText(where, FromWindows1252(hint.Text), this);
    return true;
}

std::string MarkupControl::PlainText() const {
    return MarkupToPlainText(GetJoinedText());
}

const std::vector<MarkupLink>& MarkupControl::Links() {
    const std::string markup = GetJoinedText();
    if (linksKnown_ && markup == linksMarkup_ && size() == linksSize_) {
        return links_;
    }
    std::vector<MarkupLink> links;
    for (std::string& text : AnchorTexts(markup)) {
        links.push_back(MarkupLink{std::move(text), {}, {}});
    }
    // Each anchor's whole rectangle comes with any hit on it, so a coarse sweep finds them all; the
    // sweep leaves the hover state as the mouse left it.
    const std::int32_t hover = hoverAnchor_;
    std::size_t found = 0;
    constexpr int kStep = 3;
    for (int y = 0; y < height() && found < links.size(); y += kStep) {
        for (int x = 0; x < width() && found < links.size(); x += kStep) {
            const AnchorHit hit = AnchorAt(x, y);
            const std::int32_t number = hoverAnchor_;
            if (hit.Anchor.empty() || number < 1 || static_cast<std::size_t>(number) > links.size()) {
                continue;
            }
            MarkupLink& link = links[static_cast<std::size_t>(number - 1)];
            if (!link.Bounds.isEmpty()) {
                continue;
            }
            link.Target = hit.Anchor;
            link.Bounds = QRect(QPoint(hit.AnchorRect.Left, hit.AnchorRect.Top),
                                QPoint(hit.AnchorRect.Right - 1, hit.AnchorRect.Bottom - 1));
            ++found;
        }
    }
    hoverAnchor_ = hover;
    links_ = std::move(links);
    linksMarkup_ = markup;
    linksSize_ = size();
    linksKnown_ = true;
    return links_;
}

QStringList LinesToStrings(const std::vector<std::string>& lines) {
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        strings.append(FromWindows1252(line));
    }
    return strings;
}

std::vector<std::string> StringsToLines(const QStringList& strings) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(strings.size()));
    for (const QString& string : strings) {
        lines.push_back(EncodeWindows1252(string.toStdU16String()));
    }
    return lines;
}

} // namespace velmora
