// Hit-testing the About window's static text, as its mouse moves do: RenderMarkup on a QtCanvas over
// a QImage against what a Qt developer would use instead, QTextDocument (setHtml, setTextWidth 313,
// anchorAt) at the same point. Both are measured in the same run; the goal is a ratio of at most 0.2.
// A document laid out once and asked again is shown beside them, as the fairest anchor; against it stands
// the hit a control makes from the layout it kept (laid out once on the same canvas, then asked with no
// canvas at all), goal at most 2.
#include "RatioReporter.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtFonts.h"
#include "markup/KeptLayout.h"
#include "markup/RenderMarkup.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace {

using namespace velmora;

constexpr int kWidth = 313;
constexpr int kHeight = 105;

const std::string kMarkup =
    "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to show "
    "your appreciation for my work, please "
    "support me by making a donation."
    "<br>"
    "<br>Graphics by <b><A href=\"mailto:brisel@example.org\"><FONT color=\"#FF0000\">Brisel</FONT></A></b> "
    "(Thanks !!)";

const QString kHtml = QStringLiteral(
    "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to show "
    "your appreciation for my work, please support me by making a donation.<br>"
    "<br>Graphics by <b><a href=\"mailto:brisel@example.org\"><font color=\"#FF0000\">Brisel</font></a></b> "
    "(Thanks !!)");

FontState AboutFont() {
    FontState font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    font.Color = clWindowText;
    return font;
}

QImage& Surface() {
    static QImage surface = [] {
        QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        return image;
    }();
    return surface;
}

MarkupRequest HitRequest(QPoint point) {
    MarkupRequest request;
    request.Markup = kMarkup;
    request.Bounds = {0, 0, kWidth, kHeight};
    request.HitX = point.x();
    request.HitY = point.y();
    request.NoDraw = true;
    request.BlinkVisible = false;
    request.UrlColor = clWhite;
    request.ShadowColor = clNone;
    request.ShadowOffset = 1;
    request.Flavor = MarkupFlavor::StaticText;
    return request;
}

// What a control keeps: one hit test on its canvas lays the text out and leaves the layout.
const KeptLayout& KeptAboutLayout(KeptLayouts& layouts) {
    QPainter painter(&Surface());
    QtCanvas canvas(painter);
    canvas.SetFont(AboutFont());
    canvas.SetBrushColor(clBtnFace);
    MarkupCall call(canvas);
    call.Request = HitRequest({0, 0});
    call.Kept = &layouts;
    call.Run();
    return *layouts.WithHits({}, call.Request, AboutFont(), canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
}

std::string HitWithKeptLayout(const KeptLayout& kept, QPoint point) {
    MarkupResult result;
    return kept.Hit(HitRequest(point), result) ? result.HitAnchor : std::string();
}

// The static text's own hit test: a fresh canvas on its surface, then one RenderMarkup call.
std::string HitWithRenderMarkup(QPoint point) {
    QPainter painter(&Surface());
    QtCanvas canvas(painter);
    canvas.SetFont(AboutFont());
    canvas.SetBrushColor(clBtnFace);
    MarkupCall params(canvas);
    params.Request.Markup = kMarkup;
    params.Request.Bounds = {0, 0, kWidth, kHeight};
    params.Request.HitX = point.x();
    params.Request.HitY = point.y();
    params.Request.NoDraw = true;
    params.Request.BlinkVisible = false;
    params.Request.UrlColor = clWhite;
    params.Request.ShadowColor = clNone;
    params.Request.ShadowOffset = 1;
    params.Request.Flavor = MarkupFlavor::StaticText;
    return params.Run() ? params.Result.HitAnchor : std::string();
}

void SetUpDocument(QTextDocument& document) {
    document.setDefaultFont(ToQFont(AboutFont(), 96));
    document.setHtml(kHtml);
    document.setTextWidth(kWidth);
}

QString HitWithTextDocument(QPoint point) {
    QTextDocument document;
    SetUpDocument(document);
    return document.documentLayout()->anchorAt(point);
}

// A point on "Brisel" that both find, so that both do the whole work of a hit.
std::optional<QPoint> PointOnBothAnchors() {
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            const QPoint point(x, y);
            if (!HitWithRenderMarkup(point).empty() && !HitWithTextDocument(point).isEmpty()) {
                return point;
            }
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    const std::optional<QPoint> point = PointOnBothAnchors();
    if (!point) {
        std::fprintf(stderr, "no point lies on the anchor in both layouts\n");
        return 1;
    }
    std::printf("hit point (%d, %d)\n", point->x(), point->y());

    benchmark::RegisterBenchmark("RenderMarkup_QtCanvas_hit",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(HitWithRenderMarkup(*point));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("QTextDocument_anchorAt",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(HitWithTextDocument(*point));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    // The honest anchor: a Qt developer would keep the document and lay it out once, not per move.
    QTextDocument keptDocument;
    SetUpDocument(keptDocument);
    keptDocument.documentLayout()->documentSize();
    benchmark::RegisterBenchmark("QTextDocument_laid_out_once_anchorAt",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(
                                             keptDocument.documentLayout()->anchorAt(*point));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);

    KeptLayouts layouts;
    const KeptLayout& kept = KeptAboutLayout(layouts);
    if (HitWithKeptLayout(kept, *point) != HitWithRenderMarkup(*point)) {
        std::fprintf(stderr, "the kept layout and a fresh one disagree at the hit point\n");
        return 1;
    }
    benchmark::RegisterBenchmark("KeptLayout_hit",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         benchmark::DoNotOptimize(HitWithKeptLayout(kept, *point));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::optional<Summary> markup = reporter.Find("RenderMarkup_QtCanvas_hit");
    const std::optional<Summary> document = reporter.Find("QTextDocument_anchorAt");
    const std::optional<Summary> laidOut = reporter.Find("QTextDocument_laid_out_once_anchorAt");
    if (markup && document && laidOut && document->median.real > 0 && laidOut->median.real > 0) {
        std::printf(
            "median real time in us (range): RenderMarkup %s, QTextDocument rebuilt %s, laid out once %s\n",
            RatioReporter::Describe(*markup).c_str(), RatioReporter::Describe(*document).c_str(),
            RatioReporter::Describe(*laidOut).c_str());
        std::printf("ratio against QTextDocument rebuilt per call: %.3f (CPU %.3f), goal at most 0.200\n",
                    markup->median.real / document->median.real, markup->median.cpu / document->median.cpu);
        std::printf("ratio against a document laid out once: %.2f (CPU %.2f)\n",
                    markup->median.real / laidOut->median.real, markup->median.cpu / laidOut->median.cpu);
    }
    const std::optional<Summary> keptHit = reporter.Find("KeptLayout_hit");
    if (keptHit && laidOut && laidOut->median.real > 0) {
        std::printf(
            "kept layout %s us: ratio against a document laid out once %.2f (CPU %.2f), goal at most 2\n",
            RatioReporter::Describe(*keptHit).c_str(), keptHit->median.real / laidOut->median.real,
            keptHit->median.cpu / laidOut->median.cpu);
    }
    return 0;
}
