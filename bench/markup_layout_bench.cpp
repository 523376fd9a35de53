// Layout time of RenderMarkup against the size of the markup, on the fake canvas and on QtCanvas with
// real fonts: an ordinary paragraph and the texts that once made layout grow faster than the text (one
// word without spaces, "&" runs, entities nothing decodes, nested FONT tags, list items), each 1, 10
// and 100 KB long, laid out in a column as tall as it needs. Linear growth shows as at most 12 times
// the time for 10 times the text; the run closes with those ratios, from medians.
#include "RatioReporter.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace velmora;

struct Text {
    const char* name;
    std::string unit; // repeated up to the size
    std::string closing;
};

// Nested FONT tags and list items are 10 bytes each, so 100 KB holds 10,240 of them.
const Text kTexts[] = {
    {"paragraph",
     "This software cost many hours of <b>free time</b>, so if you enjoy using it, please "
     "<A href=\"mailto:someone@example.org\"><FONT color=\"#FF0000\">write</FONT></A> &amp; say "
     "thanks&nbsp;!<br>\r\n",
     ""},
    {"no_spaces", "abcdefghij", ""},
    {"ampersands", "a&b", ""},
    {"undecoded_entities", "&hellip;", ""},
    {"nested_font", "<FONT>abcd", ""},
    {"list_items", "<LI>item1 ", "</UL>"},
};

constexpr int kSizes[] = {1, 10, 100};

std::string MarkupOfSize(const Text& text, std::size_t bytes) {
    std::string markup = text.closing.empty() ? "" : "<UL>";
    while (markup.size() < bytes) {
        markup += text.unit;
    }
    return markup + text.closing;
}

// One canvas of each kind, made before the timing starts.
struct Canvases {
    testkit::FakeCanvas fake;
    QImage image{313, 400, QImage::Format_ARGB32_Premultiplied};
    QPainter painter{&image};
    QtCanvas qt{painter};
    Canvases() {
        FontState font;
        font.Name = "MS Sans Serif";
        font.Size = 8;
        qt.SetFont(font);
    }
};

void Layout(benchmark::State& state, Canvas& canvas, const std::string& markup, bool measureOnly) {
    for (auto _ : state) {
        MarkupCall params(canvas);
        params.Request.Markup = markup;
        params.Request.Bounds = {0, 0, 313, 1 << 30};
        params.Request.NoDraw = true;
        params.Request.MeasureOnly = measureOnly;
        params.Request.HitX = 100;
        params.Request.HitY = 100;
        benchmark::DoNotOptimize(params.Run());
        benchmark::DoNotOptimize(params.Result.TextHeight);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(markup.size()));
}

std::string Name(const char* canvas, const char* mode, const Text& text, int kilobytes) {
    return std::string(canvas) + "/" + mode + "/" + text.name + "/" + std::to_string(kilobytes) + "KB";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Canvases canvases;
    const struct {
        const char* name;
        Canvas* canvas;
    } kinds[] = {{"fake", &canvases.fake}, {"qt", &canvases.qt}};
    const struct {
        const char* name;
        bool measureOnly;
    } modes[] = {{"hit_test", false}, {"measure", true}};

    for (const auto& kind : kinds) {
        for (const auto& mode : modes) {
            for (const Text& text : kTexts) {
                for (const int kilobytes : kSizes) {
                    const std::string markup = MarkupOfSize(text, static_cast<std::size_t>(kilobytes) * 1024);
                    Canvas* canvas = kind.canvas;
                    const bool measureOnly = mode.measureOnly;
                    benchmark::RegisterBenchmark(Name(kind.name, mode.name, text, kilobytes).c_str(),
                                                 [canvas, markup, measureOnly](benchmark::State& state) {
                                                     Layout(state, *canvas, markup, measureOnly);
                                                 })
                        ->Unit(benchmark::kMicrosecond)
                        ->Apply(AddRange);
                }
            }
        }
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\ngrowth per 10 times the text (median real time; goal at most 12):\n");
    for (const auto& kind : kinds) {
        for (const auto& mode : modes) {
            for (const Text& text : kTexts) {
                std::printf("%-4s %-8s %-19s", kind.name, mode.name, text.name);
                for (std::size_t i = 0; i + 1 < std::size(kSizes); ++i) {
                    const auto small = reporter.Find(Name(kind.name, mode.name, text, kSizes[i]));
                    const auto large = reporter.Find(Name(kind.name, mode.name, text, kSizes[i + 1]));
                    if (small && large && small->median.real > 0) {
                        std::printf("  %3d->%3d KB: %5.1fx", kSizes[i], kSizes[i + 1],
                                    large->median.real / small->median.real);
                    }
                }
                const auto largest = reporter.Find(Name(kind.name, mode.name, text, kSizes[2]));
                if (largest) {
                    std::printf("  100 KB: %s us", RatioReporter::Describe(*largest).c_str());
                }
                std::printf("\n");
            }
        }
    }
    return 0;
}
