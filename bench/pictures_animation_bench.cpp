// One animation step of a 100-frame 200x200 GIF that changes frame, beside peers measured in the same
// run: decoding a single-frame 200x200 GIF (what showing any frame costs at least), a step that waits
// and changes nothing, and the same changing step with a decoder that does no work (the frame scans).
#include "pictures/HTMLPicture.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <benchmark/benchmark.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr std::uint16_t kSide = 200;

std::vector<std::uint8_t> AnimatedGif(int frames, std::uint16_t delay) {
    std::vector<testing::GifImage> images;
    for (int i = 0; i < frames; ++i) {
        images.push_back({.Width = kSide,
                          .Height = kSide,
                          .ColorIndex = static_cast<std::uint8_t>(i % 4),
                          .Delay = delay});
    }
    return testing::MakeGif(kSide, kSide, images);
}

void Load(THTMLPicture& picture, const std::vector<std::uint8_t>& bytes) {
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    picture.LoadStream(&stream);
}

void StepChangingFrames(benchmark::State& state, PictureBackend backend) {
    THTMLPicture picture(backend);
    Load(picture, AnimatedGif(100, 0));
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
    StepChangingFrames(state, QtPictureBackend());
}
BENCHMARK(BM_AnimationTickChangingFrame);

void BM_DecodeSingleFrameGif(benchmark::State& state) {
    THTMLPicture picture(QtPictureBackend());
    Load(picture, AnimatedGif(1, 0));
    for (auto _ : state) {
        picture.DecodeFrame();
    }
}
BENCHMARK(BM_DecodeSingleFrameGif);

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
BENCHMARK(BM_AnimationTickWaiting);

void BM_AnimationTickScansOnly(benchmark::State& state) {
    testing::FakePictureDecoder decoder;
    testing::FakeResourceLibrary resources;
    StepChangingFrames(state, {&decoder, &resources});
}
BENCHMARK(BM_AnimationTickScansOnly);

} // namespace

BENCHMARK_MAIN();
