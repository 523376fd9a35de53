// Layout time of RenderMarkup against the size of the markup: the text is N copies of one marked-up
// paragraph, laid out in a column as tall as it needs. Linear growth shows as a time per byte that
// stays flat from 1 KB to 100 KB (at most 12 times the time for 10 times the text).
#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using velmora::RenderMarkup;
using velmora::RenderMarkupParams;

const std::string Paragraph =
    "This software cost many hours of <b>free time</b>, so if you enjoy using it, please "
    "<A href=\"mailto:someone@example.org\"><FONT color=\"#FF0000\">write</FONT></A> &amp; say "
    "thanks&nbsp;!<br>\r\n";

std::string MarkupOfSize(std::size_t bytes) {
    std::string markup;
    while (markup.size() < bytes) {
        markup += Paragraph;
    }
    return markup;
}

void Run(benchmark::State& state, bool noDraw, bool measureOnly) {
    const std::string markup = MarkupOfSize(static_cast<std::size_t>(state.range(0)) * 1024);
    velmora::testing::FakeCanvas canvas;
    for (auto _ : state) {
        RenderMarkupParams params;
        params.canvas = &canvas;
        params.markup = markup;
        params.bounds = {0, 0, 313, 1 << 30};
        params.noDraw = noDraw;
        params.measureOnly = measureOnly;
        params.hitX = 100;
        params.hitY = 100;
        benchmark::DoNotOptimize(RenderMarkup(params));
        benchmark::DoNotOptimize(params.textHeight);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(markup.size()));
}

void BM_MarkupHitTest(benchmark::State& state) {
    Run(state, true, false);
}
void BM_MarkupMeasureOnly(benchmark::State& state) {
    Run(state, true, true);
}

} // namespace

BENCHMARK(BM_MarkupHitTest)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_MarkupMeasureOnly)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
