#include "controls/MarkupControl.h"

#include "controls/LazyShellIcons.h"
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

// The control as its view sees it.
class MarkupControl::Surface final : public MarkupSurface {
public:
    explicit Surface(MarkupControl& control) : control_(control) {}

    std::string Markup() const override { return control_.GetJoinedText(); }
    MarkupSources Sources() const override { return control_.OwnSources(); }
    void ShapeRequest(MarkupRequest& request) const override { control_.ShapeRequest(request); }
    bool Render(MarkupCall& call) override { return control_.Render(call); }
    void WithMeasureCanvas(const std::function<void(Canvas&)>& use) override {
        control_.WithMeasureCanvas(use);
    }
    Size ClientSize() const override { return {control_.width(), control_.height()}; }
    std::int32_t DpiX() const override { return control_.logicalDpiX(); }
    std::int32_t DpiY() const override { return control_.logicalDpiY(); }
    void Resize(Size size) override { control_.resize(size.Width, size.Height); }
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override { return control_.AnchorAt(x, y); }

private:
    MarkupControl& control_;
};

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
      measureSurface_(1, 1, QImage::Format_ARGB32_Premultiplied), surface_(std::make_unique<Surface>(*this)),
      view_(*surface_, settings_, hovering_) {
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

PaintState MarkupControl::CurrentPaintState() const {
    return {ClientRect(), CursorPos(), hasFocus(), isEnabled()};
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
    return htmlText_.Encoding();
}

const std::vector<MarkupLink>& MarkupControl::Links() {
    std::vector<MarkupLink> links;
    for (const LinkPlace& place : view_.Links()) {
        const Rect& r = place.Bounds;
        links.push_back(
            {place.Text, place.Target,
             r.IsEmpty() ? QRect() : QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1))});
    }
    links_ = std::move(links);
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
