#include "tools/velmora-markup/MarkupToolRendering.h"

#include "errors/Error.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/MarkupEncoding.h"
#include "markup/RenderMarkup.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "text/Windows1252.h"

#include <QPainter>
#include <algorithm>
#include <fstream>
#include <sstream>

namespace velmora {

namespace {

// The controls' own room to grow when they size themselves to their text.
constexpr std::int32_t kUnlimitedHeight = 65535;

MarkupCall BaseParams(const MarkupToolOptions& options, Canvas& canvas, std::string_view markup,
                      std::int32_t height, MarkupToolPictures& pictures) {
    MarkupCall params(canvas);
    params.Request.Markup = markup;
    params.Request.Bounds = {0, 0, options.Width, height};
    params.Sources.PictureCache = &pictures.Cache;
    params.Sources.PictureContainer = &pictures.Container;
    params.Request.WordWrap = !options.Ellipsis;
    params.Request.Flavor = options.StaticText ? MarkupFlavor::StaticText : MarkupFlavor::Label;
    params.Request.ShadowOffset = options.StaticText ? 1 : 2;
    // The label never shows BLINK text; the static text does in its visible phase.
    params.Request.BlinkVisible = options.StaticText;
    params.Request.HitX = -1;
    params.Request.HitY = -1;
    return params;
}

void PrepareCanvas(Canvas& canvas, const MarkupToolOptions& options) {
    FontState font;
    font.Name = options.FontName;
    font.Size = options.FontSize;
    font.Color = clWindowText;
    canvas.SetFont(font);
    canvas.SetBrushColor(clBtnFace);
}

QImage NewPicture(std::int32_t width, std::int32_t height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780); // 96 pixels per inch, the resolution the controls were drawn for
    image.setDotsPerMeterY(3780);
    image.fill(ToQColor(clBtnFace));
    return image;
}

std::int32_t MeasureHeight(const MarkupToolOptions& options, std::string_view markup,
                           MarkupToolPictures& pictures) {
    QImage scratch = NewPicture(options.Width, 1);
    QPainter painter(&scratch);
    QtCanvas canvas(painter);
    PrepareCanvas(canvas, options);
    MarkupCall params = BaseParams(options, canvas, markup, kUnlimitedHeight, pictures);
    params.Request.NoDraw = true;
    params.Request.MeasureOnly = true;
    params.Run();
    return std::max(1, params.Result.TextHeight);
}

} // namespace

MarkupToolPictures::MarkupToolPictures() : Cache(QtPictureBackend()), Container(QtPictureBackend()) {}

std::optional<std::string> MarkupToolPictures::AddContainerPicture(const std::string& name,
                                                                   const std::string& file) {
    std::ifstream input(file, std::ios::binary);
    std::ostringstream bytes;
    if (!input || !(bytes << input.rdbuf())) {
        return "cannot read " + file;
    }
    TPictureItem& item = Container.Items().Add();
    item.Name = name;
    try {
        std::istringstream stream(std::move(bytes).str());
        item.Picture().LoadStream(&stream);
    } catch (const Error& error) {
        return "cannot show " + file + ": " + error.what();
    }
    return std::nullopt;
}

bool MarkupToolPictures::Step() {
    const bool cacheChanged = Cache.StepAnimations();
    return Container.Items().StepAnimations() || cacheChanged;
}

QImage RenderMarkupPicture(const MarkupToolOptions& options, std::string_view markup,
                           MarkupToolPictures& pictures, MarkupToolReport& report) {
    std::int32_t height = 0;
    if (options.Height) {
        height = *options.Height;
    } else {
        height = MeasureHeight(options, markup, pictures);
        if (height > kLargestPicture) {
            report.CutFromHeight = height;
            height = kLargestPicture;
        }
    }
    QImage image = NewPicture(options.Width, height);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    PrepareCanvas(canvas, options);

    if (options.Hit) {
        MarkupCall hitTest = BaseParams(options, canvas, markup, height, pictures);
        hitTest.Request.HitX = options.Hit->X;
        hitTest.Request.HitY = options.Hit->Y;
        hitTest.Request.NoDraw = true;
        report.Hit = hitTest.Run();
        report.HitAnchor = report.Hit ? hitTest.Result.HitAnchor : std::string();
        report.HitAnchorNumber = hitTest.Result.HitAnchorNumber;
        report.HitAnchorRect = hitTest.Result.HitAnchorRect;
    }

    MarkupCall paint = BaseParams(options, canvas, markup, height, pictures);
    if (options.Hover) {
        // As a control with hover on: the anchor under the mouse is the one styled, found as its mouse
        // move finds it; the mouse position also picks the ALT pictures.
        MarkupCall underMouse = BaseParams(options, canvas, markup, height, pictures);
        underMouse.Request.HitX = options.Hover->X;
        underMouse.Request.HitY = options.Hover->Y;
        underMouse.Request.NoDraw = true;
        underMouse.Run();
        paint.Request.HoverEnabled = true;
        paint.Request.HoverAnchor = underMouse.Result.HitAnchorNumber;
        paint.Request.HitX = options.Hover->X;
        paint.Request.HitY = options.Hover->Y;
    }
    paint.Run();
    report.Encoding = MarkupEncoding(markup);
    report.TextWidth = paint.Result.TextWidth;
    report.TextHeight = paint.Result.TextHeight;
    report.AnchorCount = paint.Result.AnchorCount;
    report.MissingPictures.clear();
    for (std::int32_t i = 0; i < pictures.Cache.Count(); ++i) {
        if (pictures.Cache.Items(i).QueryEmpty()) {
            report.MissingPictures.push_back(pictures.Cache.Items(i).SourceAddress());
        }
    }
    return image;
}

std::string MarkupFromUtf8(std::string_view utf8) {
    if (utf8.starts_with(kUtf8Mark)) {
        return std::string(utf8);
    }
    const std::u16string text = DecodeText(utf8, TextEncoding::Utf8);
    std::string windows1252 = EncodeWindows1252(text);
    return DecodeWindows1252(windows1252) == text ? windows1252 : std::string(kUtf8Mark).append(utf8);
}

std::string FormatMarkupToolReport(const MarkupToolReport& report, bool withHit) {
    std::string text = "textWidth: " + std::to_string(report.TextWidth) + "\n" +
                       "textHeight: " + std::to_string(report.TextHeight) + "\n" +
                       "anchorCount: " + std::to_string(report.AnchorCount) + "\n";
    if (withHit) {
        const Rect& r = report.HitAnchorRect;
        text += std::string("hit: ") + (report.Hit ? "true" : "false") + "\n" +
                "hitAnchor: " + FromText(report.HitAnchor, report.Encoding).toStdString() + "\n" +
                "hitAnchorNumber: " + std::to_string(report.HitAnchorNumber) + "\n" +
                "hitAnchorRect: " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\n";
    }
    return text;
}

} // namespace velmora
