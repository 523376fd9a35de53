// Animated GIFs as ordinary encoders write them, decoded by the program's own decoder.
#include "PictureWriting.h"
#include "errors/Error.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "pictures/BitmapPicture.h"
#include "pictures/HTMLPicture.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureContainer.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::LoadPicture;

using ByteVector = std::vector<std::uint8_t>;

ByteVector ReadFixture(const std::string& name) {
    ByteVector bytes = testkit::ReadPictureFile(std::string(VELMORA_GIF_DATA) + "/" + name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

// "colour WxH@X,Y" of the frame the picture shows, the colour taken at (3,2) on its screen, where the
// fixtures' second frame starts (the nearest pixel in a smaller picture).
std::string Shown(const THTMLPicture& picture) {
    const auto* decoded = dynamic_cast<const BitmapPicture*>(picture.Decoded());
    if (decoded == nullptr) {
        return "nothing";
    }
    const Bitmap& pixels = decoded->Pixels();
    const Argb middle = pixels.Pixel(std::min(3, pixels.Width() - 1) - picture.FrameLeft(),
                                     std::min(2, pixels.Height() - 1) - picture.FrameTop());
    const char* colour = middle == 0xFFFF0000   ? "red"
                         : middle == 0xFF00FF00 ? "lime"
                         : middle == 0xFF0000FF ? "blue"
                                                : "other";
    return std::string(colour) + " " + std::to_string(pixels.Width()) + "x" +
           std::to_string(pixels.Height()) + "@" + std::to_string(picture.FrameLeft()) + "," +
           std::to_string(picture.FrameTop());
}

class EncodedGifTest : public testkit::QtTest {
protected:
    PictureBackend backend = QtPictureBackend();
};

const char* const kFixtures[] = {"imagemagick-loop.gif", "imagemagick-comment.gif", "gifsicle-comment.gif"};

TEST_F(EncodedGifTest, EveryEncodersFramesAreCountedWithTheirDelays) {
    for (const char* name : kFixtures) {
        THTMLPicture picture(backend);
        LoadPicture(picture, ReadFixture(name));
        EXPECT_EQ(picture.CountFrames(), 3) << name;
        EXPECT_EQ(picture.FrameDelay(1), 10) << name;
        EXPECT_EQ(picture.FrameDelay(2), 20) << name;
        EXPECT_EQ(picture.FrameDelay(3), 30) << name;
        EXPECT_EQ(picture.AnimationWidth(), 20) << name;
        EXPECT_EQ(picture.AnimationHeight(), 10) << name;
    }
}

TEST_F(EncodedGifTest, EveryEncodersAnimationStepsThroughItsFrames) {
    // Frame 2 is due at the 2nd tick (0 >= -1), frame 3 at the 4th (20 >= 19), frame 1 at the 7th
    // (50 >= 49), frame 2 at the 8th (60 >= 59), and so on.
    const char* const shownAfterEachTick[] = {
        "red 20x10@0,0",  "lime 20x10@0,0", "lime 20x10@0,0", "blue 20x10@0,0", "blue 20x10@0,0",
        "blue 20x10@0,0", "red 20x10@0,0",  "lime 20x10@0,0", "lime 20x10@0,0", "blue 20x10@0,0",
    };
    for (const char* name : kFixtures) {
        THTMLPicture picture(backend);
        LoadPicture(picture, ReadFixture(name));
        EXPECT_EQ(Shown(picture), "red 20x10@0,0") << name << " before the first tick";
        int tick = 0;
        for (const char* expected : shownAfterEachTick) {
            ++tick;
            picture.AnimationTick();
            EXPECT_EQ(Shown(picture), expected) << name << ", tick " << tick;
        }
    }
}

// Three frames of 2x2 in red, lime and blue, changing at every tick, whose second frame the decoder
// refuses: its code size is beyond what GIF allows.
ByteVector GifWithBrokenSecondFrame() {
    ByteVector gif = testkit::MakeGif(2, 2,
                                      {{.Width = 2, .Height = 2, .ColorIndex = 0},
                                       {.Width = 2, .Height = 2, .ColorIndex = 1},
                                       {.Width = 2, .Height = 2, .ColorIndex = 2}});
    std::size_t separators = 0;
    for (std::size_t p = 0; p + 10 < gif.size(); ++p) {
        if (gif[p] == 0x21 && gif[p + 1] == 0xF9 && ++separators == 2) {
            gif[p + 8 + 10] = 0x0F; // the code size after the second descriptor
            break;
        }
    }
    return gif;
}

TEST_F(EncodedGifTest, AFrameThatDoesNotDecodeKeepsTheLastGoodOneAndRaisesFromTheTick) {
    THTMLPicture picture(backend);
    LoadPicture(picture, GifWithBrokenSecondFrame());
    ASSERT_EQ(picture.CountFrames(), 3);
    EXPECT_FALSE(picture.AnimationTick());
    const DecodedPicture* first = picture.Decoded();
    EXPECT_THROW(picture.AnimationTick(), Error);
    EXPECT_EQ(picture.Decoded(), first) << "still the first frame";
    EXPECT_EQ(picture.Frame(), 2);
    EXPECT_TRUE(picture.AnimationTick());
    EXPECT_EQ(picture.Frame(), 3);
    EXPECT_EQ(Shown(picture), "blue 2x2@0,0");
}

TEST_F(EncodedGifTest, StoresStepTheOtherPicturesPastABrokenFrameWithoutRaising) {
    const ByteVector broken = GifWithBrokenSecondFrame();
    const ByteVector good = ReadFixture("imagemagick-loop.gif");
    THTMLPictureCache cache(backend);
    LoadPicture(cache.NewPicture(), broken);
    LoadPicture(cache.NewPicture(), good);
    TPictureContainer container(backend);
    LoadPicture(container.Items().Add().Picture(), broken);
    LoadPicture(container.Items().Add().Picture(), good);
    for (int tick = 1; tick <= 4; ++tick) {
        bool cacheChanged = false;
        bool containerChanged = false;
        ASSERT_NO_THROW(cacheChanged = cache.StepAnimations()) << tick;
        ASSERT_NO_THROW(containerChanged = container.Items().StepAnimations()) << tick;
        EXPECT_EQ(cacheChanged, tick != 1) << tick;
        EXPECT_EQ(containerChanged, tick != 1) << tick;
    }
    for (THTMLPicture* brokenPicture : {&cache.Items(0), &container.Items().Items(0).Picture()}) {
        EXPECT_EQ(brokenPicture->Frame(), 1) << "frames 2, 3 and 1 again were due";
        EXPECT_EQ(Shown(*brokenPicture), "red 2x2@0,0");
    }
    for (THTMLPicture* goodPicture : {&cache.Items(1), &container.Items().Items(1).Picture()}) {
        EXPECT_EQ(goodPicture->Frame(), 3);
        EXPECT_EQ(Shown(*goodPicture), "blue 20x10@0,0");
    }
}

} // namespace
} // namespace velmora
