#include "controls/MarkupControl.h"

#include "controls/LazyShellIcons.h"
#include "controls/MarkupLinks.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/MarkupEncoding.h"
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
      shellIcons_(std::make_unique<LazyShellIcons>()),
      imageListLink_([this, changed = std::move(onImagesChanged)] {
          ForgetLayouts();
          changed();
      }),
      htmlText_([this, changed = std::move(onTextChanged)] {
          // A new text loads its pictures anew, and they may not be the size they were.
          ForgetLayouts();
          changed();
      }),
      measureSurface_(1, 1, QImage::Format_ARGB32_Premultiplied) {
    // Hover, the hand cursor and anchor events follow the mouse with no button held.
    setMouseTracking(true);
}

MarkupControl::~MarkupControl() {
    pictureCache_->ReleaseAllPictures();
}

void MarkupControl::SetColor(TColor color) {
    StoreAndRepaint(&Settings::Color, color);
}

void MarkupControl::SetFont(const FontState& font) {
    StoreAndRepaint(&Settings::Font, font);
}

void MarkupControl::SetAlign(TAlign align) {
    StoreAndRepaint(&Settings::Align, align);
}

QStringList MarkupControl::HTMLTextList() const {
    return LinesToStrings(htmlText_.Lines());
}

std::string MarkupControl::GetJoinedText() const {
    return htmlText_.Joined();
}

void MarkupControl::SetURLColor(TColor color) {
    StoreAndRepaintChanged(&Settings::URLColor, color);
}

void MarkupControl::SetShadowColor(TColor color) {
    StoreAndRepaint(&Settings::ShadowColor, color);
}

void MarkupControl::SetShadowOffset(std::int32_t offset) {
    StoreAndRepaint(&Settings::ShadowOffset, offset);
}

void MarkupControl::SetBevelInner(TBevelCut cut) {
    settings_.Frames.BevelInner = cut;
    update();
}

void MarkupControl::SetBevelOuter(TBevelCut cut) {
    settings_.Frames.BevelOuter = cut;
    update();
}

void MarkupControl::SetBevelWidth(std::int32_t width) {
    settings_.Frames.BevelWidth = std::max(1, width);
    update();
}

void MarkupControl::SetBorderWidth(std::int32_t width) {
    settings_.Frames.BorderWidth = std::max(0, width);
    update();
}

void MarkupControl::SetBorderStyle(TBorderStyle style) {
    settings_.Frames.BorderStyle = style;
    update();
}

void MarkupControl::SetEllipsis(bool on) {
    StoreAndRepaintChanged(&Settings::Ellipsis, on);
}

void MarkupControl::SetImages(ImageList* list) {
    imageListLink_.Attach(list);
    ForgetLayouts();
    update();
}

void MarkupControl::SetPictureContainer(TPictureContainer* container) {
    settings_.PictureContainer = container;
    ForgetLayouts();
}

bool MarkupControl::IsPropertyStored(const QString& name) const {
    if (name == QLatin1String("HTMLText")) {
        return htmlText_.Count() > 0;
    }
    if (name == QLatin1String("BevelInner")) {
        return settings_.Frames.BevelInner != bvNone;
    }
    if (name == QLatin1String("BevelOuter")) {
        return settings_.Frames.BevelOuter != bvNone;
    }
    if (name == QLatin1String("BevelWidth")) {
        return settings_.Frames.BevelWidth != 1;
    }
    if (name == QLatin1String("BorderWidth")) {
        return settings_.Frames.BorderWidth != 0;
    }
    if (name == QLatin1String("BorderStyle")) {
        return settings_.Frames.BorderStyle != bsNone;
    }
    if (name == QLatin1String("Images")) {
        return Images() != nullptr;
    }
    if (name == QLatin1String("PictureContainer")) {
        return settings_.PictureContainer != nullptr;
    }
    return true;
}

void MarkupControl::ComponentRemoved(const ImageList* list) {
    if (list != nullptr && list == Images()) {
        imageListLink_.Attach(nullptr);
        ForgetLayouts();
    }
}

void MarkupControl::ComponentRemoved(const TPictureContainer* container) {
    if (container != nullptr && container == settings_.PictureContainer) {
        settings_.PictureContainer = nullptr;
        ForgetLayouts();
    }
}

void MarkupControl::Loaded() {
    loading_ = false;
    EmptyCaption();
}

Rect MarkupControl::TextArea() const {
    return velmora::TextArea(ClientRect(), settings_.Frames);
}

void MarkupControl::EmptyCaption() {
    if (!text().isEmpty()) {
        setText(QString());
    }
}

bool MarkupControl::CursorIsHand() const {
    // A hand inherited from the parent is not this control's: only a cursor it set counts.
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
        ShellOpen(anchor, Encoding());
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
    // Fonts measure by the resolution, so hit tests find anchors where a paint on this screen put them.
    const int dotsPerMeterX = qRound(logicalDpiX() / 0.0254);
    const int dotsPerMeterY = qRound(logicalDpiY() / 0.0254);
    if (measureSurface_.dotsPerMeterX() != dotsPerMeterX ||
        measureSurface_.dotsPerMeterY() != dotsPerMeterY) {
        measureSurface_.setDotsPerMeterX(dotsPerMeterX);
        measureSurface_.setDotsPerMeterY(dotsPerMeterY);
    }
    QPainter painter(&measureSurface_);
    QtCanvas canvas(painter, style());
    canvas.SetFont(settings_.Font);
    canvas.SetBrushColor(settings_.Color);
    use(canvas);
}

MarkupSources MarkupControl::OwnSources() const {
    return {Images(), pictureCache_.get(), settings_.PictureContainer, shellIcons_.get()};
}

MarkupRequest MarkupControl::NewRequest(const Rect& bounds, Point mouse, std::int32_t focus) const {
    MarkupRequest request = RequestFor(settings_, hovering_, bounds, mouse, focus);
    ShapeRequest(request);
    return request;
}

MarkupCall MarkupControl::NewCall(Canvas& canvas, std::string_view markup, const Rect& bounds, Point mouse,
                                  std::int32_t focus) const {
    MarkupCall call(canvas);
    call.Sources = OwnSources();
    call.Request = NewRequest(bounds, mouse, focus);
    call.Request.Markup = markup;
    call.Kept = &keptLayouts_;
    return call;
}

void MarkupControl::AlignVertically(Canvas& canvas, const std::string& markup, Rect& bounds, Point mouse,
                                    std::int32_t focus) {
    if (settings_.VAlignment != tvaCenter && settings_.VAlignment != tvaBottom) {
        return;
    }
    MarkupCall measure = NewCall(canvas, markup, bounds, mouse, focus);
    measure.Request.NoDraw = true;
    Render(measure);
    ApplyVAlignment(settings_.VAlignment, bounds, measure.Result.TextHeight, height());
}

MarkupRequest MarkupControl::HitRequest(const Rect& bounds, std::int32_t x, std::int32_t y) const {
    MarkupRequest request = NewRequest(bounds, {x, y}, -1);
    MakeHitRequest(request);
    return request;
}

bool MarkupControl::KeptHit(const std::string& markup, Rect bounds, std::int32_t x, std::int32_t y,
                            MarkupResult& result, bool& found) const {
    const MarkupSources sources = OwnSources();
    if (settings_.VAlignment == tvaCenter || settings_.VAlignment == tvaBottom) {
        MarkupRequest measure = NewRequest(bounds, {x, y}, -1);
        measure.Markup = markup;
        measure.NoDraw = true;
        const KeptLayout* measured = keptLayouts_.WithHits(sources, measure, settings_.Font, DpiX(), DpiY());
        if (measured == nullptr) {
            return false;
        }
        ApplyVAlignment(settings_.VAlignment, bounds, measured->TextHeight, height());
    }
    hitBounds_ = bounds;
    MarkupRequest request = HitRequest(bounds, x, y);
    request.Markup = markup;
    const KeptLayout* kept = keptLayouts_.WithHits(sources, request, settings_.Font, DpiX(), DpiY());
    if (kept == nullptr) {
        return false;
    }
    found = kept->Hit(request, result);
    return true;
}

AnchorHit MarkupControl::HitTest(Rect bounds, std::int32_t x, std::int32_t y) {
    const std::string markup = GetJoinedText();
    MarkupResult result;
    bool found = false;
    if (!KeptHit(markup, bounds, x, y, result, found)) {
        WithMeasureCanvas([&](Canvas& canvas) {
            // Aligned as the paint aligns.
            AlignVertically(canvas, markup, bounds, {x, y}, -1);
            hitBounds_ = bounds;
            MarkupCall call = NewCall(canvas, markup, bounds, {x, y}, -1);
            call.Request = HitRequest(bounds, x, y);
            call.Request.Markup = markup;
            found = Render(call);
            result = std::move(call.Result);
        });
    }
    AnchorHit hit;
    hovering_.Anchor = found ? result.HitAnchorNumber : -1;
    hit.AnchorRect = result.HitAnchorRect;
    if (found) {
        hit.Anchor = std::move(result.HitAnchor);
    }
    return hit;
}

void MarkupControl::FitToText(AutoSizeRules rules, std::int32_t textWidth, std::int32_t textHeight) {
    const auto extent = [](std::int32_t text) {
        return static_cast<int>(
            std::clamp<std::int64_t>(static_cast<std::int64_t>(text) + kAutoSizeMargin, 0, QWIDGETSIZE_MAX));
    };
    const int newWidth = rules.Horizontal ? extent(textWidth) : width();
    const int newHeight = rules.Vertical ? extent(textHeight) : height();
    // A resize repaints, and that paint fits again: resizing only on a change ends the loop.
    if (newWidth != width() || newHeight != height()) {
        resize(newWidth, newHeight);
    }
}

bool MarkupControl::ShowHintFor(const QHelpEvent& event) {
    const HintInfo hint = HintAt(event.pos());
    const QPoint where = hint.Moved ? hint.GlobalPos : event.globalPos();
    QToolTip::showText(where, FromText(hint.Text, Encoding()), this);
    return true;
}

std::string MarkupControl::PlainText() const {
    return MarkupToPlainText(GetJoinedText());
}

TextEncoding MarkupControl::Encoding() const {
    return htmlText_.Count() > 0 ? MarkupEncoding(htmlText_.Lines().front()) : TextEncoding::Windows1252;
}

std::vector<Point> MarkupControl::LinkProbes(const std::string& markup) {
    // A hit test lays the text out and keeps it where the control's hit tests find it.
    AnchorAt(-1, -1);
    MarkupRequest request = HitRequest(hitBounds_, -1, -1);
    request.Markup = markup;
    if (const KeptLayout* kept =
            keptLayouts_.WithHits(OwnSources(), request, settings_.Font, DpiX(), DpiY())) {
        return kept->AnchorPoints();
    }
    // A text whose pictures change with the point is not kept: every few pixels are tried instead, and
    // each anchor's whole rectangle comes with any hit on it.
    std::vector<Point> points;
    constexpr int kStep = 3;
    for (int y = 0; y < height(); y += kStep) {
        for (int x = 0; x < width(); x += kStep) {
            points.push_back({x, y});
        }
    }
    return points;
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
    // Found where the mouse finds them; the search leaves the hover state as the mouse left it.
    const std::int32_t hover = hovering_.Anchor;
    std::size_t found = 0;
    for (const Point& point : LinkProbes(markup)) {
        if (found == links.size()) {
            break;
        }
        // Only what the control shows is a link's place.
        if (point.X < 0 || point.Y < 0 || point.X >= width() || point.Y >= height()) {
            continue;
        }
        const AnchorHit hit = AnchorAt(point.X, point.Y);
        const std::int32_t number = hovering_.Anchor;
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
    hovering_.Anchor = hover;
    links_ = std::move(links);
    linksMarkup_ = markup;
    linksSize_ = size();
    linksKnown_ = true;
    return links_;
}

ControlKey ToControlKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return ControlKey::Left;
    case Qt::Key_Up:
        return ControlKey::Up;
    case Qt::Key_Right:
        return ControlKey::Right;
    case Qt::Key_Down:
        return ControlKey::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ControlKey::Enter;
    case Qt::Key_Space:
        return ControlKey::Space;
    default:
        return ControlKey::Other;
    }
}

void HideToolTip() {
    QToolTip::hideText();
}

QStringList LinesToStrings(const std::vector<std::string>& lines) {
    const TextEncoding encoding = lines.empty() ? TextEncoding::Windows1252 : MarkupEncoding(lines.front());
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        strings.append(FromText(strings.empty() ? WithoutEncodingMark(line) : line, encoding));
    }
    return strings;
}

std::vector<std::string> StringsToLines(const QStringList& strings) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(strings.size()));
    bool heldWhole = true;
    for (const QString& string : strings) {
        lines.push_back(EncodeWindows1252(string.toStdU16String()));
        heldWhole = heldWhole && FromWindows1252(lines.back()) == string;
    }
    // Texts that Windows-1252 holds stay as they always were stored.
    if (heldWhole && !(strings.size() > 0 && strings.front().startsWith(QChar(0xFEFF)))) {
        return lines;
    }
    lines.clear();
    for (const QString& string : strings) {
        lines.push_back(string.toStdString());
    }
    if (!lines.empty() && !lines.front().starts_with(kUtf8Mark)) {
        lines.front().insert(0, kUtf8Mark);
    }
    return lines;
}

} // namespace velmora
