// One animation step that changes frame, on 200x200 GIFs of 10, 100 and 1,000 frames (the largest is
// 22 MB), beside peers measured in the same run: decoding a single-frame 200x200 GIF (what showing any
// frame costs at least), a step that waits and changes nothing, and the changing step with a decoder
// that does no work (the frame bookkeeping alone). The run closes with each step's time over the
// single-frame decode, from medians; the goal is at most 1.5 whatever the number of frames. Optimised
// animations are stepped too: a whole first frame, then 40x40 patches at moving offsets, some
// transparent, disposed of in each of the four ways, composed on the kept 200x200 screen.
#include "RatioReporter.h"
#include "pictures/HTMLPicture.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr std::uint16_t kSide = 200;

std::vector<std::uint8_t> AnimatedGif(int frames, std::uint16_t delay) {
    std::vector<testkit::GifImage> images;
    for (int i = 0; i < frames; ++i) {
        images.push_back({.Width = kSide,
                          .Height = kSide,
                          .ColorIndex = static_cast<std::uint8_t>(i % 4),
                          .Delay = delay});
    }
    return testkit::MakeGif(kSide, kSide, images);
}

std::vector<std::uint8_t> OptimisedGif(int frames) {
    constexpr std::uint16_t kPatch = 40;
    std::vector<testkit::GifImage> images = {{.Width = kSide, .Height = kSide}};
    for (int i = 1; i < frames; ++i) {
        images.push_back({.Left = static_cast<std::uint16_t>((i * 37) % (kSide - kPatch)),
                          .Top = static_cast<std::uint16_t>((i * 53) % (kSide - kPatch)),
                          .Width = kPatch,
                          .Height = kPatch,
                          .ColorIndex = static_cast<std::uint8_t>(i % 4),
                          .Disposal = static_cast<std::uint8_t>(i % 4),
                          .Transparent = i % 3 == 0});
    }
    return testkit::MakeGif(kSide, kSide, images);
}

void Load(THTMLPicture& picture, const std::vector<std::uint8_t>& bytes) {
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    picture.LoadStream(&stream);
}

void StepChangingFrames(benchmark::State& state, PictureBackend backend,
                        const std::vector<std::uint8_t>& gif) {
    THTMLPicture picture(backend);
    Load(picture, gif);
    picture.AnimationTick(); // the first frame stays for the first tick
    for (auto _ : state) {
        if (!picture.AnimationTick()) {
            state.SkipWithError("the step did not change frame");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(picture.ImageData().size()));
}

void BM_AnimationTickChangingFrame(benchmark::State& state) {
    StepChangingFrames(state, QtPictureBackend(), AnimatedGif(static_cast<int>(state.range(0)), 0));
}
BENCHMARK(BM_AnimationTickChangingFrame)->Arg(10)->Arg(100)->Arg(1000)->Apply(AddRange);

void BM_OptimisedTickChangingFrame(benchmark::State& state) {
    StepChangingFrames(state, QtPictureBackend(), OptimisedGif(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OptimisedTickChangingFrame)->Arg(10)->Arg(100)->Arg(1000)->Apply(AddRange);

void BM_DecodeSingleFrameGif(benchmark::State& state) {
    THTMLPicture picture(QtPictureBackend());
    Load(picture, AnimatedGif(1, 0));
    for (auto _ : state) {
        picture.DecodeFrame();
    }
}
BENCHMARK(BM_DecodeSingleFrameGif)->Apply(AddRange);

void BM_AnimationTickWaiting(benchmark::State& state) {
    THTMLPicture picture(QtPictureBackend());
    Load(picture, AnimatedGif(100, 0xFFFF));
    // The 2nd tick shows frame 2, which then stays for 6,553 ticks; start over before it would change.
    constexpr int kTicksBeforeChange = 6000;
    int ticks = kTicksBeforeChange;
    for (auto _ : state) {
        if (ticks++ == kTicksBeforeChange) {
            state.PauseTiming();
            picture.CopyFrom(&picture);
            picture.AnimationTick();
            picture.AnimationTick();
            ticks = 1;
            state.ResumeTiming();
        }
        if (picture.AnimationTick()) {
            state.SkipWithError("the waiting step changed frame");
            break;
        }
    }
}
BENCHMARK(BM_AnimationTickWaiting)->Apply(AddRange);

void BM_AnimationTickScansOnly(benchmark::State& state) {
    testkit::FakePictureDecoder decoder;
    testkit::FakeResourceLibrary resources;
    StepChangingFrames(state, {&decoder, &resources}, AnimatedGif(static_cast<int>(state.range(0)), 0));
}
BENCHMARK(BM_AnimationTickScansOnly)->Arg(10)->Arg(100)->Arg(1000)->Apply(AddRange);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const std::optional<Summary> single = reporter.Find("BM_DecodeSingleFrameGif");
    if (!single || single->median.real <= 0) {
        return 0;
    }
    std::printf("\nsingle-frame decode: %s ns\n", RatioReporter::Describe(*single).c_str());
    for (const char* kind : {"AnimationTick", "OptimisedTick"}) {
        for (const int frames : {10, 100, 1000}) {
            const std::optional<Summary> tick =
                reporter.Find("BM_" + std::string(kind) + "ChangingFrame/" + std::to_string(frames));
            if (tick) {
                std::printf("%s of %4d frames: %s ns, %.2f single-frame decodes (goal at most 1.5)\n", kind,
                            frames, RatioReporter::Describe(*tick).c_str(),
                            tick->median.real / single->median.real);
            }
        }
    }
    return 0;
}
