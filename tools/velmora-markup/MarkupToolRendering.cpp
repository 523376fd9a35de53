#include "tools/velmora-markup/MarkupToolRendering.h"

#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "markup/RenderMarkup.h"

#include <QPainter>
#include <algorithm>

namespace velmora {

namespace {

// The controls' own room to grow when they size themselves to their text.
constexpr std::int32_t kUnlimitedHeight = 65535;

RenderMarkupParams BaseParams(const MarkupToolOptions& options, Canvas& canvas, std::string_view markup,
                              std::int32_t height) {
    RenderMarkupParams params;
    params.canvas = &canvas;
    params.markup = markup;
    params.bounds = {0, 0, options.width, height};
    params.flavor = options.staticText ? MarkupFlavor::StaticText : MarkupFlavor::Label;
    params.shadowOffset = options.staticText ? 1 : 2;
    // The label never shows BLINK text; the static text does in its visible phase.
    params.blinkVisible = options.staticText;
    params.hitX = options.hit ? options.hit->X : -1;
    params.hitY = options.hit ? options.hit->Y : -1;
    return params;
}

void PrepareCanvas(Canvas& canvas, const MarkupToolOptions& options) {
    FontState font;
    font.Name = options.fontName;
    font.Size = options.fontSize;
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

std::int32_t MeasureHeight(const MarkupToolOptions& options, std::string_view markup) {
    QImage scratch = NewPicture(options.width, 1);
    QPainter painter(&scratch);
    QtCanvas canvas(painter);
    PrepareCanvas(canvas, options);
    RenderMarkupParams params = BaseParams(options, canvas, markup, kUnlimitedHeight);
    params.noDraw = true;
    params.measureOnly = true;
    RenderMarkup(params);
    return std::max(1, params.textHeight);
}

} // namespace

QImage RenderMarkupPicture(const MarkupToolOptions& options, std::string_view markup,
                           MarkupToolReport& report) {
    const std::int32_t height = options.height ? *options.height : MeasureHeight(options, markup);
    QImage image = NewPicture(options.width, height);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    PrepareCanvas(canvas, options);

    std::int32_t hoverAnchor = -1;
    if (options.hit) {
        RenderMarkupParams hitTest = BaseParams(options, canvas, markup, height);
        hitTest.noDraw = true;
        report.hit = RenderMarkup(hitTest);
        report.hitAnchor = report.hit ? hitTest.hitAnchor : std::string();
        report.hitAnchorNumber = hitTest.hitAnchorNumber;
        report.hitAnchorRect = hitTest.hitAnchorRect;
        hoverAnchor = hitTest.hitAnchorNumber;
    }

    RenderMarkupParams paint = BaseParams(options, canvas, markup, height);
    paint.hoverAnchor = hoverAnchor;
    RenderMarkup(paint);
    report.textWidth = paint.textWidth;
    report.textHeight = paint.textHeight;
    report.anchorCount = paint.anchorCount;
    return image;
}

std::string FormatMarkupToolReport(const MarkupToolReport& report, bool withHit) {
    std::string text = "textWidth: " + std::to_string(report.textWidth) + "\n" +
                       "textHeight: " + std::to_string(report.textHeight) + "\n" +
                       "anchorCount: " + std::to_string(report.anchorCount) + "\n";
    if (withHit) {
        const Rect& r = report.hitAnchorRect;
        text += std::string("hit: ") + (report.hit ? "true" : "false") + "\n" +
                "hitAnchor: " + FromWindows1252(report.hitAnchor).toStdString() + "\n" +
                "hitAnchorNumber: " + std::to_string(report.hitAnchorNumber) + "\n" +
                "hitAnchorRect: " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\n";
    }
    return text;
}

} // namespace velmora
