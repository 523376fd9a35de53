// Animations composed as the format says, with the program's own decoder: each frame drawn over what
// the earlier ones left once the one before is disposed of.
#include "PictureWriting.h"
#include "errors/Error.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "pictures/BitmapPicture.h"
#include "pictures/GifFrames.h"
#include "pictures/HTMLPicture.h"
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::LoadPicture;
using testkit::MagickPicture;

using testkit::kGifPalette;
using testkit::MakeGif;
using ByteVector = std::vector<std::uint8_t>;

constexpr Argb kRed = kGifPalette[0];
constexpr Argb kLime = kGifPalette[1];
constexpr Argb kBlue = kGifPalette[2];
constexpr Argb kNone = 0;

// The frame shown, on the logical screen; transparent pixels read as 0 whatever their colour.
Bitmap Shown(const THTMLPicture& picture) {
    const auto* decoded = dynamic_cast<const BitmapPicture*>(picture.Decoded());
    if (decoded == nullptr) {
        return {};
    }
    Bitmap screen(picture.AnimationWidth(), picture.AnimationHeight());
    const Bitmap& pixels = decoded->Pixels();
    for (std::int32_t y = 0; y < pixels.Height(); ++y) {
        for (std::int32_t x = 0; x < pixels.Width(); ++x) {
            const Argb pixel = pixels.Pixel(x, y);
            screen.SetPixel(x + picture.FrameLeft(), y + picture.FrameTop(),
                            (pixel >> 24) == 0 ? kNone : pixel);
        }
    }
    return screen;
}

// "" when both are alike, else where they first differ and how.
std::string FirstDifference(const Bitmap& shown, const Bitmap& expected) {
    if (shown.Width() != expected.Width() || shown.Height() != expected.Height()) {
        return "sizes differ";
    }
    for (std::int32_t y = 0; y < shown.Height(); ++y) {
        for (std::int32_t x = 0; x < shown.Width(); ++x) {
            if (shown.Pixel(x, y) != expected.Pixel(x, y)) {
                std::ostringstream out;
                out << std::hex << "at " << std::dec << x << "," << y << std::hex << ": " << shown.Pixel(x, y)
                    << " for " << expected.Pixel(x, y);
                return out.str();
            }
        }
    }
    return "";
}

class ComposedGifTest : public testkit::QtTest {
protected:
    PictureBackend backend = QtPictureBackend();
};

// A red 8x4 screen, then a lime 2x2 patch at (1,1) disposed of as each row says, then a blue 2x2
// patch at (4,1), which shows what the disposal left at (1,1) and (2,2).
TEST_F(ComposedGifTest, EachDisposalLeavesWhatTheNextFrameIsDrawnOver) {
    const struct {
        const char* name;
        std::uint8_t disposal;
        Argb left; // at (1,1) once the third frame is drawn
    } cases[] = {
        {"unspecified", 0, kLime}, {"keep", 1, kLime},       {"background", 2, kNone},
        {"previous", 3, kRed},     {"reserved 5", 5, kLime},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        LoadPicture(
            picture,
            MakeGif(8, 4,
                    {{.Width = 8, .Height = 4, .ColorIndex = 0},
                     {.Left = 1, .Top = 1, .Width = 2, .Height = 2, .ColorIndex = 1, .Disposal = c.disposal},
                     {.Left = 4, .Top = 1, .Width = 2, .Height = 2, .ColorIndex = 2}}));
        picture.SetFrame(2);
        EXPECT_EQ(Shown(picture).Pixel(1, 1), kLime) << c.name;
        EXPECT_EQ(Shown(picture).Pixel(0, 0), kRed) << c.name << ": the first frame stays under the patch";
        picture.SetFrame(3);
        const Bitmap third = Shown(picture);
        EXPECT_EQ(third.Pixel(1, 1), c.left) << c.name;
        EXPECT_EQ(third.Pixel(2, 2), c.left) << c.name;
        EXPECT_EQ(third.Pixel(4, 1), kBlue) << c.name;
        EXPECT_EQ(third.Pixel(7, 3), kRed) << c.name;
        EXPECT_EQ(picture.FrameLeft(), 0) << c.name;
        EXPECT_EQ(picture.PictureWidth(), 8) << c.name;
    }
}

// Hostile animations load or refuse without crashing, and what they hold stays bounded.
TEST_F(ComposedGifTest, HostileAnimationsStayBounded) {
    ByteVector truncated = MakeGif(4, 4, {{.Width = 4, .Height = 4}, {.Left = 1, .Width = 3, .Height = 3}});
    truncated.resize(truncated.size() - 6);
    const struct {
        const char* name;
        ByteVector bytes;
        std::int32_t shownWidth; // once every frame was asked for; 0 when the picture shows nothing
    } cases[] = {
        {"frames past the screen",
         MakeGif(4, 4, {{.Width = 4, .Height = 4}, {.Left = 3, .Top = 3, .Width = 900, .Height = 900}}), 4},
        {"zero-size frames", MakeGif(4, 4, {{.Width = 0, .Height = 0}, {.Width = 4, .Height = 0}}), 4},
        {"a screen too large to compose",
         MakeGif(65535, 65535, {{.Width = 2, .Height = 2}, {.Width = 1, .Height = 1}}), 0},
        {"a screen of no size", MakeGif(0, 0, {{.Width = 2, .Height = 2}, {.Width = 1, .Height = 1}}), 1},
        {"truncated data", truncated, 4},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        try {
            LoadPicture(picture, c.bytes);
        } catch (const Error&) {
        }
        for (std::int32_t frame = 1; frame <= std::max(picture.CountFrames(), 1); ++frame) {
            try {
                picture.SetFrame(frame);
            } catch (const Error&) {
            }
        }
        EXPECT_EQ(picture.PictureWidth(), c.shownWidth) << c.name;
    }
}

// Frames made by ImageMagick: the same animation written whole and optimised as most tools write it.
class MagickGifTest : public ComposedGifTest {
protected:
    std::vector<Bitmap> EveryFrame(const ByteVector& gif) {
        THTMLPicture picture(backend);
        LoadPicture(picture, gif);
        std::vector<Bitmap> frames;
        for (std::int32_t frame = 1; frame <= picture.CountFrames(); ++frame) {
            picture.SetFrame(frame);
            frames.push_back(Shown(picture));
        }
        return frames;
    }
};

// Shapes that appear, cover others for a frame, change colour and go, on an opaque and on a transparent
// background. Each frame is cleared after it shows, so that frames written whole show just themselves; the
// optimisers take the frames as they are listed, whatever their disposal.
std::string Animation(const char* background) {
    const std::string base = std::string("-size 40x24 xc:") + background;
    return "+antialias -delay 10 " + base + " \\( +clone -fill red -draw 'rectangle 4,4 12,12' \\)" +
           " \\( +clone -fill blue -draw 'rectangle 8,6 30,18' \\)" +
           " \\( -clone 1 -fill lime -draw 'rectangle 22,8 26,12' \\)" + " \\( " + base +
           " -fill green -draw 'circle 20,12 20,18' \\)" +
           " \\( +clone -fill blue -draw 'rectangle 0,0 3,3' \\)" + " -set dispose background -loop 0";
}

TEST_F(MagickGifTest, OptimisedFramesShowWhatTheWholeFramesShow) {
    const struct {
        const char* name;
        const char* background;
        const char* layers;
    } cases[] = {
        {"optimised on white", "white", "-layers Optimize"},
        {"optimised, transparent", "none", "-layers Optimize"},
        {"optimised plus, transparent", "none", "-layers OptimizePlus"},
    };
    std::set<int> disposalsMet;
    for (const auto& c : cases) {
        const ByteVector whole = MagickPicture(Animation(c.background), "whole.gif");
        const ByteVector optimised = MagickPicture(Animation(c.background) + " " + c.layers, "optimised.gif");
        const std::vector<gif::FrameBlock> blocks = gif::IndexFrameBlocks(optimised);
        ASSERT_EQ(blocks.size(), 6u) << c.name;
        bool patched = false;
        for (const gif::FrameBlock& block : blocks) {
            disposalsMet.insert(block.Disposal);
            patched = patched || block.Width < 40 || block.Height < 24 || block.Left != 0;
        }
        EXPECT_TRUE(patched) << c.name << ": the optimiser left every frame whole";
        const std::vector<Bitmap> expected = EveryFrame(whole);
        const std::vector<Bitmap> shown = EveryFrame(optimised);
        ASSERT_EQ(shown.size(), expected.size()) << c.name;
        for (std::size_t frame = 0; frame < shown.size(); ++frame) {
            EXPECT_EQ(shown[frame].Width(), 40) << c.name;
            EXPECT_EQ(FirstDifference(shown[frame], expected[frame]), "")
                << c.name << ", frame " << frame + 1;
        }
    }
    EXPECT_TRUE(disposalsMet.count(2) == 1 && disposalsMet.count(3) == 1)
        << "the optimisers should have used the background and previous disposals";
}

} // namespace
} // namespace velmora
