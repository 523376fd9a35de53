#include "graphics/ImageList.h"

#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>
#include <memory>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::FakeCanvas;

// A strip whose pixel at (x, y) is x + 100 * y, fully opaque.
Bitmap NumberedStrip(std::int32_t width, std::int32_t height) {
    Bitmap strip(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            strip.SetPixel(x, y, 0xFF000000u | static_cast<Argb>(x + 100 * y));
        }
    }
    return strip;
}

TEST(ImageListTest, AddCutsStripsIntoImagesOfTheListSize) {
    struct Case {
        std::int32_t stripWidth, stripHeight;
        std::int32_t images;
        Argb lastImageCorner; // bottom-right pixel of the last image added
    };
    // The list holds 16 x 8 images.
    const Case cases[] = {
        {16, 8, 1, 0xFF000000u | (15 + 700)},
        {48, 8, 3, 0xFF000000u | (47 + 700)},
        {40, 8, 2, 0xFF000000u | (31 + 700)},  // the last 8 columns make no whole image
        {10, 8, 1, 0},                         // too narrow: the rest stays transparent
        {16, 20, 1, 0xFF000000u | (15 + 700)}, // rows below the image size are left out
        {16, 4, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.stripWidth << "x" << c.stripHeight);
        ImageList list(16, 8);
        EXPECT_EQ(list.Add(NumberedStrip(c.stripWidth, c.stripHeight)), 0);
        EXPECT_EQ(list.Count(), c.images);
        if (list.Count() != c.images) {
            continue;
        }
        const Bitmap last = list.Image(c.images - 1);
        EXPECT_EQ(last.Width(), 16);
        EXPECT_EQ(last.Height(), 8);
        EXPECT_EQ(last.Pixel(15, 7), c.lastImageCorner);
        EXPECT_EQ(list.Add(NumberedStrip(16, 8)), c.images) << "numbers continue";
    }
}

TEST(ImageListTest, DrawsOnlyImagesItHas) {
    ImageList list(16, 16);
    list.Add(NumberedStrip(32, 16));
    struct Case {
        std::int32_t index;
        bool drawn;
    };
    const Case cases[] = {{0, true}, {1, true}, {2, false}, {-1, false}};
    for (const Case& c : cases) {
        FakeCanvas canvas;
        list.Draw(canvas, 5, 7, c.index);
        EXPECT_EQ(canvas.RecordsOf(DrawKind::Bitmap).size(), c.drawn ? 1u : 0u) << c.index;
        if (c.drawn) {
            EXPECT_EQ(canvas.Records()[0].Area, (Rect{5, 7, 21, 23}));
        }
        EXPECT_EQ(list.Image(c.index).IsEmpty(), !c.drawn);
    }
}

TEST(ImageListTest, LinksHearChangesOfTheListTheyListenTo) {
    ImageList first(4, 4);
    ImageList second(4, 4);
    int heard = 0;
    ImageListLink link([&] { ++heard; });
    link.Attach(&first);
    first.Add(Bitmap(4, 4));
    second.Add(Bitmap(4, 4));
    EXPECT_EQ(heard, 1);
    link.Attach(&second);
    first.Clear();
    second.Clear();
    EXPECT_EQ(heard, 2);
    link.Attach(nullptr);
    second.Add(Bitmap(4, 4));
    EXPECT_EQ(heard, 2);
}

TEST(ImageListTest, EitherSideMayGoFirst) {
    int heard = 0;
    auto list = std::make_unique<ImageList>(4, 4);
    auto link = std::make_unique<ImageListLink>([&] { ++heard; });
    link->Attach(list.get());
    list.reset();
    EXPECT_EQ(link->List(), nullptr);
    link.reset();

    ImageList kept(4, 4);
    auto gone = std::make_unique<ImageListLink>([&] { ++heard; });
    gone->Attach(&kept);
    gone.reset();
    kept.Add(Bitmap(4, 4));
    EXPECT_EQ(heard, 0);
}

TEST(ImageListTest, ALinkDestroyedWhileTheListTellsIsNotTold) {
    ImageList list(4, 4);
    int heard = 0;
    std::unique_ptr<ImageListLink> second;
    ImageListLink first([&] {
        ++heard;
        second.reset();
    });
    second = std::make_unique<ImageListLink>([&] { ++heard; });
    first.Attach(&list);
    second->Attach(&list);
    list.Add(Bitmap(4, 4));
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(second, nullptr);
}

} // namespace
} // namespace velmora
