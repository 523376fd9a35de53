#include "PictureFixture.h"
#include "markup/ShellIcon.h"
#include "pictures/testing/GifWriter.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

// Bitmap sizes the fake canvas reports are the list's or the picture's own; layout sizes follow the
// device's pixels per inch.
class RenderImages : public PictureFixture {};

TEST_F(RenderImages, ImageListSourcesScaleWithTheDevice) {
    ImageList list(16, 16);
    list.Add(Bitmap(48, 16, 0xFF0000FF));
    struct Case {
        std::string markup;
        std::int32_t pixelsPerInch;
        bool withList;
        int textWidth, textHeight;
        std::string pictures, placement;
    };
    const Case cases[] = {
        {"<IMG src=\"IDX:2\">x", 96, true, 24, 16, "B1,0,17,16", "x@17,0"},
        // 20 pixels of room at 120 per inch; the list still draws its 16-pixel image.
        {"<IMG src=\"IDX:2\">x", 120, true, 28, 20, "B1,0,17,16", "x@21,4"},
        {"<IMG src=\"idx:0\">x", 96, true, 24, 16, "B1,0,17,16", "x@17,0"},
        {"<IMG src=\"IDX:1px\">x", 96, true, 24, 16, "B1,0,17,16", "x@17,0"},
        {"<IMG src=\"IDX:3\">x", 96, true, 8, 16, "", "x@1,0"},
        {"<IMG src=\"IDX:-1\">x", 96, true, 8, 16, "", "x@1,0"},
        {"<IMG src=\"IDX:0\">x", 96, false, 8, 16, "", "x@1,0"},
        {"ab<IMG src=\"IDX:0\"><IMG src=\"IDX:1\">", 96, true, 48, 16, "B17,0,33,16 B33,0,49,16", "ab@1,0"},
    };
    for (const Case& c : cases) {
        canvas.SetPixelsPerInch(c.pixelsPerInch, c.pixelsPerInch);
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup);
        params.Sources.Images = c.withList ? &list : nullptr;
        params.Run();
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup << " at " << c.pixelsPerInch;
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.markup << " at " << c.pixelsPerInch;
        EXPECT_EQ(Pictures(), c.pictures) << c.markup << " at " << c.pixelsPerInch;
        EXPECT_EQ(Placement(), c.placement) << c.markup << " at " << c.pixelsPerInch;
    }
}

TEST_F(RenderImages, PrintingStretchesListImagesByTheScale) {
    ImageList list(16, 16);
    list.Add(Bitmap(16, 16));
    canvas.ClearRecords();
    MarkupCall params = Params("<IMG src=\"IDX:0\">");
    params.Sources.Images = &list;
    params.Request.Printing = true;
    params.Request.ImageScale = 1.5;
    params.Run();
    EXPECT_EQ(Pictures(), "S1,0,25,24");
}

TEST_F(RenderImages, ContainerPicturesAtTheirSizeOrStretched) {
    struct Case {
        std::string markup;
        std::int32_t pixelsPerInch;
        MarkupFlavor flavor;
        int textWidth, textHeight;
        std::string pictures;
        bool stretchFlag;
    };
    const Case cases[] = {
        {"<IMG src=\"logo\">x", 96, MarkupFlavor::Label, 24, 16, "B1,0,17,8", false},
        {"<IMG src=\"LOGO\">x", 96, MarkupFlavor::Label, 24, 16, "B1,0,17,8", false},
        {"<IMG src=\"logo\">x", 120, MarkupFlavor::Label, 28, 16, "S1,0,21,10", false},
        {"<IMG src=\"logo\" width=\"40\" height=\"20\">x", 96, MarkupFlavor::Label, 48, 20, "S1,0,41,20",
         true},
        {"<IMG src=\"logo\" width=\"40\">x", 96, MarkupFlavor::Label, 24, 16, "B1,0,17,8", false},
        {"<IMG src=\"logo\" width=\"40\" height=\"0\">x", 96, MarkupFlavor::Label, 24, 16, "B1,0,17,8",
         false},
        {"<IMG src=\"missing\">x", 96, MarkupFlavor::Label, 8, 16, "", false},
        // The static text's copy stretches the picture too but leaves its stretch flag alone.
        {"<IMG src=\"logo\" width=\"40\" height=\"20\">x", 96, MarkupFlavor::StaticText, 48, 20, "S1,0,41,20",
         false},
        {"<IMG src=\"logo\" width=\"40\">x", 96, MarkupFlavor::StaticText, 24, 16, "B1,0,17,8", false},
    };
    for (const Case& c : cases) {
        container.Items().Clear();
        THTMLPicture& logo = AddPicture("logo", 16, 8);
        canvas.SetPixelsPerInch(c.pixelsPerInch, c.pixelsPerInch);
        const MarkupCall params = Render(c.markup, {0, 0, 200, 100}, c.flavor);
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.markup;
        EXPECT_EQ(Pictures(), c.pictures) << c.markup;
        EXPECT_EQ(logo.Stretch(), c.stretchFlag) << c.markup;
    }
}

TEST_F(RenderImages, AddressesLoadOnceIntoTheCache) {
    resources.Entries.push_back({"pic", {1, 2, 3}});
    struct Case {
        std::string markup;
        MarkupFlavor flavor;
        int textWidth;
        std::string address; // of the one picture the cache then holds
    };
    const Case cases[] = {
        {"<IMG src=\"RES://pic\">x", MarkupFlavor::Label, 24, "RES://pic"},
        {"<IMG src=\"res://pic\">x", MarkupFlavor::Label, 24, "res://pic"},
        {"<IMG src=\"RES://pic\">x", MarkupFlavor::StaticText, 24, "RES://pic"},
        // Only recorded, never fetched: it takes no room, and the failure is remembered.
        {"<IMG src=\"http://host/a.gif\">x", MarkupFlavor::Label, 8, "http://host/a.gif"},
        {"<IMG src=\"RES://none\">x", MarkupFlavor::Label, 8, "RES://none"},
    };
    for (const Case& c : cases) {
        cache.Clear();
        const int opened = decoder.OpenCount;
        for (int call = 0; call < 2; ++call) {
            const MarkupCall params = Render(c.markup, {0, 0, 200, 100}, c.flavor);
            EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        }
        EXPECT_EQ(cache.Count(), 1) << c.markup;
        if (cache.Count() != 1) {
            continue;
        }
        EXPECT_EQ(cache.Items(0).SourceAddress(), c.address) << c.markup;
        EXPECT_FALSE(cache.Items(0).Asynchronous()) << c.markup;
        EXPECT_LE(decoder.OpenCount - opened, 1) << c.markup << ": decoded once at most";
    }
}

TEST_F(RenderImages, APictureThatDoesNotDecodeIsSkippedWithoutAnError) {
    resources.Entries.push_back({"bad", {9, 9}});
    decoder.NextAnswer = testkit::FakePictureDecoder::Answer::Reject;
    MarkupResult result;
    ASSERT_NO_THROW(result = Render("<IMG src=\"RES://bad\">x").Result);
    EXPECT_EQ(result.TextWidth, 8);
    EXPECT_EQ(Pictures(), "");
    EXPECT_EQ(cache.Count(), 1) << "kept, so that it is not tried on every paint";
}

TEST_F(RenderImages, SourcesWithoutTheirKindOfStoreAreIgnored) {
    AddPicture("logo", 16, 8);
    resources.Entries.push_back({"pic", {1}});
    canvas.ClearRecords();
    MarkupCall params = Params("<IMG src=\"logo\"><IMG src=\"RES://pic\">x");
    params.Run();
    EXPECT_EQ(params.Result.TextWidth, 8);
    EXPECT_EQ(Pictures(), "");
}

TEST_F(RenderImages, APictureStartsTheNextLineOnlyWhenItWouldFitThere) {
    AddPicture("logo", 16, 8);
    struct Case {
        std::string markup;
        int textWidth, textHeight;
        std::string pictures;
    };
    // The line is 40 pixels wide.
    const Case cases[] = {
        {"abc<IMG src=\"logo\">", 40, 16, "B25,0,41,8"},
        {"abcd<IMG src=\"logo\">", 32, 32, "B1,16,17,24"},
        {"abcd<IMG src=\"logo\" width=\"50\" height=\"8\">", 82, 16, "S33,0,83,8"},
        {"<IMG src=\"logo\"><IMG src=\"logo\"><IMG src=\"logo\">", 32, 32,
         "B1,0,17,8 B17,0,33,8 B1,16,17,24"},
        {"<IMG src=\"logo\" width=\"2000000000\" height=\"9\">x", 1 << 24, 32, "S1,0,16777216,9"},
        // A space before a picture no longer trails the line.
        {"a <IMG src=\"logo\">", 32, 16, "B17,0,33,8"},
    };
    for (const Case& c : cases) {
        const MarkupCall params = Render(c.markup, {0, 0, 41, 100});
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.markup;
        EXPECT_EQ(Pictures(), c.pictures) << c.markup;
    }
}

TEST_F(RenderImages, AlignRaisesTheTextOfTheLine) {
    AddPicture("tall", 16, 32);
    struct Case {
        std::string markup;
        std::string placement;
    };
    const Case cases[] = {
        {"<IMG src=\"tall\">x", "x@17,16"},
        {"<IMG src=\"tall\" align=\"middle\">x", "x@17,8"},
        {"<IMG src=\"tall\" align=\"top\">x", "x@17,0"},
        {"<IMG src=\"tall\" align=middle>x", "x@17,16"}, // unquoted values are not read
        {"x<IMG src=\"tall\" align=\"middle\">", "x@1,8"},
    };
    for (const Case& c : cases) {
        const MarkupCall params = Render(c.markup);
        EXPECT_EQ(params.Result.TextHeight, 32) << c.markup;
        EXPECT_EQ(Placement(), c.placement) << c.markup;
    }
}

TEST_F(RenderImages, AltPictureShowsWhileTheHitPointIsOnTheLinkedImage) {
    AddPicture("a", 16, 8);
    AddPicture("b", 24, 12);
    struct Case {
        std::string markup;
        Point hit;
        bool noDraw;
        bool result;
        std::string pictures;
    };
    const Case cases[] = {
        {"<A href=\"u\"><IMG src=\"a\" alt=\"b\"></A>", {5, 4}, false, true, "B1,0,25,12"},
        {"<A href=\"u\"><IMG src=\"a\" alt=\"b\"></A>", {100, 4}, false, false, "B1,0,17,8"},
        {"<A href=\"u\"><IMG src=\"a\" alt=\"b\"></A>",
         {1, 4},
         false,
         false,
         "B1,0,17,8"}, // edges are outside
        {"<A href=\"u\"><IMG src=\"a\" alt=\"b\"></A>", {5, 4}, true, true, ""},
        {"<IMG src=\"a\" alt=\"b\">", {5, 4}, false, false, "B1,0,17,8"},
        {"<A href=\"u\">ab<IMG src=\"a\" alt=\"b\"></A>", {20, 4}, false, true, "B17,0,41,12"},
        // While drawing, the picture's place counts from the drawing position, text included.
        {"abcd<A href=\"u\"><IMG src=\"a\"></A>", {10, 4}, false, false, "B33,0,49,8"},
        {"abcd<A href=\"u\"><IMG src=\"a\"></A>", {40, 4}, false, true, "B33,0,49,8"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup);
        params.Sources.PictureContainer = &container;
        params.Request.HitX = c.hit.X;
        params.Request.HitY = c.hit.Y;
        params.Request.NoDraw = c.noDraw;
        EXPECT_EQ(params.Run(), c.result) << c.markup << " at " << c.hit.X;
        EXPECT_EQ(params.Result.HitAnchor, c.result ? "u" : "") << c.markup << " at " << c.hit.X;
        EXPECT_EQ(Pictures(), c.pictures) << c.markup << " at " << c.hit.X;
    }
}

TEST_F(RenderImages, AnimatedPicturesDrawTheirFrameAtItsOffset) {
    using testkit::GifImage;
    const std::vector<std::uint8_t> gif =
        testkit::MakeGif(20, 10, {GifImage{3, 2, 4, 4, 0, 10}, GifImage{0, 0, 20, 10, 1, 10}});
    AddPicture("anim", 4, 4, gif);
    canvas.SetBrushColor(clWhite);
    struct Case {
        MarkupFlavor flavor;
        std::string rectangles;
        std::string pictures;
    };
    // The static text's copy first clears the whole animation area in the background colour. The frame
    // is composed at its offset on the 20x10 screen, and the screen is drawn whole.
    const Case cases[] = {
        {MarkupFlavor::Label, "", "B1,0,21,10"},
        {MarkupFlavor::StaticText, "1,0,21,10:white", "B1,0,21,10"},
    };
    for (const Case& c : cases) {
        const MarkupCall params = Render("<IMG src=\"anim\">x", {0, 0, 200, 100}, c.flavor);
        EXPECT_EQ(params.Result.TextWidth, 28) << "the logical screen's width";
        EXPECT_EQ(Rectangles(), c.rectangles);
        EXPECT_EQ(Pictures(), c.pictures);
    }
}

// Answers with fixed sizes and records what it was asked.
class FakeIcons final : public ShellIconSource {
public:
    std::int32_t IconIndex(const std::string& path, bool byName) override {
        asked.emplace_back(path, byName);
        return 42;
    }
    Size IconSize(bool large) const override { return large ? Size{32, 32} : Size{16, 16}; }
    Bitmap Icon(std::int32_t index, bool large) override {
        drawn.push_back(index);
        const Size size = IconSize(large);
        return Bitmap(size.Width, size.Height, 0x80FF0000);
    }

    std::vector<std::pair<std::string, bool>> asked;
    std::vector<std::int32_t> drawn;
};

TEST_F(RenderImages, ShellIconsByTypeNumberOrPath) {
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "velmora-icons";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "sheet.cue").string();
    std::ofstream(file) << "FILE";
    struct Case {
        std::string markup;
        std::int32_t pixelsPerInch;
        bool printing;
        int textWidth;
        std::vector<std::pair<std::string, bool>> asked;
        std::vector<std::int32_t> drawn;
        std::string pictures;
    };
    const Case cases[] = {
        {"<IMG src=\"SSYS:.txt\">x", 96, false, 24, {{".txt", true}}, {42}, "B1,0,17,16"},
        {"<IMG src=\"ssys:.txt\">x", 96, false, 24, {{".txt", true}}, {42}, "B1,0,17,16"},
        {"<IMG src=\"LSYS:.txt\">x", 96, false, 40, {{".txt", true}}, {42}, "B1,0,33,32"},
        {"<IMG src=\"SSYS:.txt\">x", 120, false, 28, {{".txt", true}}, {42}, "B1,0,17,16"},
        {"<IMG src=\"SSYS:3\">x", 96, false, 24, {}, {3}, "B1,0,17,16"},
        {"<IMG src=\"SSYS:" + folder.string() + "\">",
         96,
         false,
         16,
         {{folder.string(), false}},
         {42},
         "B1,0,17,16"},
        {"<IMG src=\"SSYS:" + file + "\">", 96, false, 16, {{file, false}}, {42}, "B1,0,17,16"},
        {"<IMG src=\"SSYS:.txt\">", 96, true, 16, {{".txt", true}}, {42}, "S1,0,25,24"},
    };
    for (const Case& c : cases) {
        FakeIcons icons;
        canvas.SetPixelsPerInch(c.pixelsPerInch, c.pixelsPerInch);
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup);
        params.Sources.ShellIcons = &icons;
        params.Request.Printing = c.printing;
        params.Request.ImageScale = 1.5;
        params.Run();
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        // Asked once by each pass of the line.
        EXPECT_EQ(icons.asked.size(), c.asked.size() * 2) << c.markup;
        for (std::size_t i = 0; i < c.asked.size() && i * 2 < icons.asked.size(); ++i) {
            EXPECT_EQ(icons.asked[i * 2], c.asked[i]) << c.markup;
        }
        EXPECT_EQ(icons.drawn, c.drawn) << c.markup;
        EXPECT_EQ(Pictures(), c.pictures) << c.markup;
    }
    canvas.ClearRecords();
    MarkupCall params = Params("<IMG src=\"SSYS:.txt\">x");
    params.Run();
    EXPECT_EQ(params.Result.TextWidth, 8) << "no icons without a source of them";
    std::filesystem::remove_all(folder);
}

TEST(IsExistingFolderTest, OnlyFolders) {
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "velmora-folder";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "file.txt") << "x";
    const std::pair<std::string, bool> cases[] = {
        {folder.string(), true},
        {(folder / "file.txt").string(), false},
        {(folder / "missing").string(), false},
        {"", false},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(IsExistingFolder(path), expected) << path;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace velmora
