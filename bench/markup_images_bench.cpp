// What an inline picture costs RenderMarkup: the About window's kind of text with a 32 x 32 picture
// from a picture container, against the same text without the IMG tag, measured in the same run. On
// the fake canvas the figures are the engine's own work (lookup, sizing, fitting); on QtCanvas they
// include drawing the text and the picture's pixels into a QImage.
#include "graphics/qt/QtCanvas.h"
#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"
#include "pictures/PictureContainer.h"
#include "pictures/qt/QtPictureDecoder.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <sstream>
#include <string>

namespace {

using velmora::MarkupCall;
using velmora::RenderMarkup;

const std::string kWithoutPicture =
    "<P align=\"center\">Velmora is <b>freeware</b>.<br>If you enjoy using it, please "
    "<A href=\"mailto:someone@example.org\"><FONT color=\"#FF0000\">write</FONT></A> &amp; say thanks!<br>"
    "Made with care.</P>";
const std::string kWithPicture =
    "<P align=\"center\">Velmora is <b>freeware</b>.<br>If you enjoy using it, please "
    "<A href=\"mailto:someone@example.org\"><FONT color=\"#FF0000\">write</FONT></A> &amp; say thanks!<br>"
    "<IMG src=\"logo\" align=\"middle\"> Made with care.</P>";

constexpr int kWidth = 313;
constexpr int kHeight = 120;

velmora::TPictureContainer& Container() {
    static velmora::TPictureContainer container(velmora::QtPictureBackend());
    if (container.Items().Count() == 0) {
        QImage logo(32, 32, QImage::Format_ARGB32);
        logo.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        logo.save(&buffer, "PNG");
        velmora::TPictureItem& item = container.Items().Add();
        item.Name = "logo";
        std::istringstream stream(bytes.toStdString());
        item.Picture().LoadStream(&stream);
    }
    return container;
}

MarkupCall Params(velmora::Canvas& canvas, const std::string& markup) {
    MarkupCall params(canvas);
    params.Request.Markup = markup;
    params.Request.Bounds = {0, 0, kWidth, kHeight};
    params.Sources.PictureContainer = &Container();
    params.Request.HitX = 150;
    params.Request.HitY = 40;
    return params;
}

void OnFakeCanvas(benchmark::State& state, const std::string& markup, bool noDraw) {
    velmora::testkit::FakeCanvas canvas;
    for (auto _ : state) {
        canvas.ClearRecords();
        MarkupCall params = Params(canvas, markup);
        params.Request.NoDraw = noDraw;
        benchmark::DoNotOptimize(params.Run());
        benchmark::DoNotOptimize(params.Result.TextHeight);
    }
}

void OnQtCanvas(benchmark::State& state, const std::string& markup) {
    QImage surface(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        surface.fill(Qt::white);
        QPainter painter(&surface);
        velmora::QtCanvas canvas(painter);
        canvas.SetFont({"Arial", 10, velmora::clBlack});
        MarkupCall params = Params(canvas, markup);
        benchmark::DoNotOptimize(params.Run());
        benchmark::DoNotOptimize(params.Result.TextHeight);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (const auto& [name, markup] :
         {std::pair{"text", &kWithoutPicture}, std::pair{"picture", &kWithPicture}}) {
        const std::string suffix = std::string("/") + name;
        benchmark::RegisterBenchmark(("FakeCanvas_paint" + suffix).c_str(), [markup](
                                                                                benchmark::State& state) {
            OnFakeCanvas(state, *markup, false);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("FakeCanvas_hit" + suffix).c_str(), [markup](benchmark::State& state) {
            OnFakeCanvas(state, *markup, true);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("QtCanvas_paint" + suffix).c_str(), [markup](benchmark::State& state) {
            OnQtCanvas(state, *markup);
        })->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
