// Hit-testing the About window's static text, as its mouse moves do: RenderMarkup on a QtCanvas over
// a QImage against what a Qt developer would use instead, QTextDocument (setHtml, setTextWidth 313,
// anchorAt) at the same point. Both are measured in the same run; the goal is a ratio of at most 0.2.
#include "RatioReporter.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtFonts.h"
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

// The static text's own hit test: a fresh canvas on its surface, then one RenderMarkup call.
std::string HitWithRenderMarkup(QPoint point) {
    QPainter painter(&Surface());
    QtCanvas canvas(painter);
    canvas.SetFont(AboutFont());
    canvas.SetBrushColor(clBtnFace);
    RenderMarkupParams params;
    params.canvas = &canvas;
    params.markup = kMarkup;
    params.bounds = {0, 0, kWidth, kHeight};
    params.hitX = point.x();
    params.hitY = point.y();
    params.noDraw = true;
    params.blinkVisible = false;
    params.urlColor = clWhite;
    params.shadowColor = clNone;
    params.shadowOffset = 1;
    params.flavor = MarkupFlavor::StaticText;
    return RenderMarkup(params) ? params.hitAnchor : std::string();
}

QString HitWithTextDocument(QPoint point) {
    QTextDocument document;
    document.setDefaultFont(ToQFont(AboutFont(), 96));
    document.setHtml(kHtml);
    document.setTextWidth(kWidth);
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

    benchmark::RegisterBenchmark("RenderMarkup_QtCanvas_hit", [&](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(HitWithRenderMarkup(*point));
        }
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("QTextDocument_anchorAt", [&](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(HitWithTextDocument(*point));
        }
    })->Unit(benchmark::kMicrosecond);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto markup = reporter.times.find("RenderMarkup_QtCanvas_hit");
    const auto document = reporter.times.find("QTextDocument_anchorAt");
    if (markup != reporter.times.end() && document != reporter.times.end() && document->second.real > 0 &&
        document->second.cpu > 0) {
        const Times& m = markup->second;
        const Times& d = document->second;
        std::printf("real time: RenderMarkup %.1f us, QTextDocument %.1f us, ratio %.3f\n", m.real, d.real,
                    m.real / d.real);
        std::printf("CPU time:  RenderMarkup %.1f us, QTextDocument %.1f us, ratio %.3f\n", m.cpu, d.cpu,
                    m.cpu / d.cpu);
        std::printf("goal: a ratio of at most 0.200\n");
    }
    return 0;
}
