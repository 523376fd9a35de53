#include "PictureFixture.h"

#include <optional>
#include <string>

namespace velmora {
namespace {

class RenderBackgrounds : public PictureFixture {
protected:
    // The colour behind a drawn text, or "clear".
    std::string BackgroundOf(const std::string& shown) const {
        const testkit::DrawRecord r = TextRecord(shown);
        return r.BrushState.Style == BrushStyle::Clear ? "clear" : ColorName(r.BrushState.Color);
    }

    std::size_t RectangleCount() const { return canvas.RecordsOf(testkit::DrawKind::Rectangle).size(); }
};

TEST_F(RenderBackgrounds, BodyColourFillsTheLayoutRectangleBeforeTheText) {
    struct Case {
        std::string markup;
        MarkupFlavor flavor;
        bool suppressColors;
        std::string rectangles;
        std::string behindText; // behind "ab"
    };
    // Bounds (10, 5, 110, 55).
    const Case cases[] = {
        {"<BODY bgcolor=\"clyellow\">ab", MarkupFlavor::Label, false, "8,5,110,55:yellow", "yellow"},
        {"<BODY bgcolor=\"#ff0000\">ab", MarkupFlavor::Label, false, "8,5,110,55:red", "red"},
        {"<BODY bgcolor=\"clyellow\">ab", MarkupFlavor::Label, true, "", "clear"},
        {"<BODY bgcolor=\"\">ab", MarkupFlavor::Label, false, "", "clear"},
        {"<BODY>ab", MarkupFlavor::Label, false, "", "clear"},
        // The static text's copy fills the rectangle itself, also with colours suppressed.
        {"<BODY bgcolor=\"clyellow\">ab", MarkupFlavor::StaticText, false, "10,5,110,55:yellow", "yellow"},
        {"<BODY bgcolor=\"clyellow\">ab", MarkupFlavor::StaticText, true, "10,5,110,55:yellow", "yellow"},
        {"<BODY bgcolor=\"#00ff00\">ab", MarkupFlavor::StaticText, false,
         "10,5,110,55:" + std::to_string(RGBColor(0, 255, 0)), std::to_string(RGBColor(0, 255, 0))},
        {"<BODY bgcolor=\"yellow\">ab", MarkupFlavor::StaticText, false, "", "clear"},
        {"<BODY bgcolor=\"clred\" bgcolorto=\"clblue\">ab", MarkupFlavor::StaticText, false,
         "10,5,110,55:red", "red"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, {10, 5, 110, 55});
        params.Request.Flavor = c.flavor;
        params.Request.SuppressColors = c.suppressColors;
        params.Run();
        EXPECT_EQ(Rectangles(), c.rectangles) << c.markup;
        EXPECT_EQ(BackgroundOf("ab"), c.behindText) << c.markup;
        if (!c.rectangles.empty()) {
            EXPECT_EQ(canvas.Records().front().Kind, testkit::DrawKind::Rectangle) << c.markup;
        }
    }
}

TEST_F(RenderBackgrounds, FontClosingReturnsToWhatBodySaved) {
    struct Case {
        MarkupFlavor flavor;
        std::string behindB;
    };
    // The label saves the background before BODY, the static text the BODY colour itself.
    const Case cases[] = {{MarkupFlavor::Label, "clear"}, {MarkupFlavor::StaticText, "yellow"}};
    for (const Case& c : cases) {
        Render("<BODY bgcolor=\"clyellow\">a</FONT>b", {0, 0, 200, 100}, c.flavor);
        EXPECT_EQ(BackgroundOf("a"), "yellow");
        EXPECT_EQ(BackgroundOf("b"), c.behindB);
    }
}

TEST_F(RenderBackgrounds, BodyGradientsIn64Bands) {
    struct Case {
        std::string markup;
        std::string first, last;
    };
    // Bounds (10, 5, 110, 55): bands of 1.5625 pixels across, 0.78125 down.
    const Case cases[] = {
        {"<BODY bgcolor=\"clred\" bgcolorto=\"clblue\">ab", "10,5,12,55:red",
         "108,5,110,55:" + std::to_string(RGBColor(4, 0, 251))},
        {"<BODY bgcolor=\"clred\" bgcolorto=\"clblue\" dir=\"V\">ab", "10,5,110,6:red",
         "10,54,110,55:" + std::to_string(RGBColor(4, 0, 251))},
        // BGCOLOR also matches the start of BGCOLORTO, so both colours come from it.
        {"<BODY bgcolorto=\"clred\" bgcolor=\"clblue\">ab", "10,5,12,55:red", "108,5,110,55:red"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, {10, 5, 110, 55});
        params.Run();
        SCOPED_TRACE(c.markup);
        const auto rectangles = canvas.RecordsOf(testkit::DrawKind::Rectangle);
        EXPECT_EQ(rectangles.size(), 64u);
        if (rectangles.size() != 64u) {
            continue;
        }
        EXPECT_EQ(RectText(rectangles.front().Area) + ":" + ColorName(rectangles.front().BrushState.Color),
                  c.first);
        EXPECT_EQ(RectText(rectangles.back().Area) + ":" + ColorName(rectangles.back().BrushState.Color),
                  c.last);
        EXPECT_EQ(BackgroundOf("ab"), "clear");
    }
}

TEST_F(RenderBackgrounds, BackgroundPicturesTileTheLayoutRectangleOnly) {
    AddPicture("tile", 16, 8);
    resources.Entries.push_back({"TILE", {1}});
    struct Case {
        std::string markup;
        Rect bounds;
        std::optional<Rect> clip;
        MarkupFlavor flavor;
        bool suppressColors;
        std::string pictures;
    };
    const std::string all = "B0,0,16,8 B16,0,32,8 B32,0,48,8 B0,8,16,16 B16,8,32,16 B32,8,48,16 B0,16,16,24 "
                            "B16,16,32,24 B32,16,48,24";
    const Case cases[] = {
        {"<BODY background=\"tile\">", {0, 0, 40, 20}, std::nullopt, MarkupFlavor::Label, false, all},
        {"<BODY background=\"RES://tile\">", {0, 0, 40, 20}, std::nullopt, MarkupFlavor::Label, false, all},
        {"<BODY background=\"tile\">",
         {0, 0, 40, 20},
         Rect{0, 0, 20, 10},
         MarkupFlavor::Label,
         false,
         "B0,0,16,8 B16,0,32,8 B0,8,16,16 B16,8,32,16"},
        // However large the area, only tiles that can show are drawn.
        {"<BODY background=\"tile\">",
         {0, 0, 1 << 24, 1 << 24},
         Rect{20, 10, 40, 20},
         MarkupFlavor::Label,
         false,
         "B16,8,32,16 B32,8,48,16 B16,16,32,24 B32,16,48,24"},
        {"<BODY background=\"tile\">", {0, 0, 40, 20}, std::nullopt, MarkupFlavor::Label, true, ""},
        {"<BODY background=\"tile\">", {0, 0, 40, 20}, std::nullopt, MarkupFlavor::StaticText, true, all},
        {"<BODY background=\"none\">", {0, 0, 40, 20}, std::nullopt, MarkupFlavor::Label, false, ""},
    };
    for (const Case& c : cases) {
        canvas.SetClipRect(c.clip);
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, c.bounds);
        params.Sources.PictureContainer = &container;
        params.Sources.PictureCache = &cache;
        params.Request.Flavor = c.flavor;
        params.Request.SuppressColors = c.suppressColors;
        params.Run();
        EXPECT_EQ(Pictures(), c.pictures) << c.markup;
        const Rect expectedClip = c.clip ? Intersection(*c.clip, c.bounds) : c.bounds;
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Bitmap)) {
            EXPECT_EQ(r.Clip, expectedClip) << c.markup;
        }
        EXPECT_EQ(canvas.ClipRect(), c.clip) << c.markup << ": the clip is put back";
    }
}

TEST_F(RenderBackgrounds, ParagraphBandsFollowTheLinesUntilTheParagraphEnds) {
    struct Case {
        std::string markup;
        MarkupFlavor flavor;
        bool suppressColors;
        std::string rectangles;
        std::string behind; // behind a, b and c
    };
    const std::string gradientStart = "0,0,4,18:white";
    const Case cases[] = {
        {"<P bgcolor=\"clyellow\">a<BR>b</P>c", MarkupFlavor::Label, false,
         "0,0,200,16:yellow 0,16,200,32:yellow", "yellow yellow clear"},
        {"<P bgcolor=\"clyellow\">a<BR>b</P>c", MarkupFlavor::Label, true, "", "clear clear clear"},
        {"<P bgcolor=\"clyellow\">a<BR>b</P>c", MarkupFlavor::StaticText, false,
         "0,0,200,16:yellow 0,16,200,32:yellow", "yellow yellow clear"},
        {"<P bgcolor=\"clwhite\" bgcolorto=\"clblue\">a<BR>b</P>c", MarkupFlavor::StaticText, false,
         "0,0,200,16:white 0,16,200,32:white", "white white clear"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup);
        params.Request.Flavor = c.flavor;
        params.Request.SuppressColors = c.suppressColors;
        params.Run();
        EXPECT_EQ(Rectangles(), c.rectangles) << c.markup;
        EXPECT_EQ(BackgroundOf("a") + " " + BackgroundOf("b") + " " + BackgroundOf("c"), c.behind)
            << c.markup;
    }

    Draw("<P bgcolor=\"clwhite\" bgcolorto=\"clblue\">a<BR>b");
    const auto bands = canvas.RecordsOf(testkit::DrawKind::Rectangle);
    ASSERT_EQ(bands.size(), 64u) << "a gradient only on the paragraph's first line";
    EXPECT_EQ(RectText(bands.front().Area) + ":" + ColorName(bands.front().BrushState.Color), gradientStart);
    EXPECT_EQ(RectText(bands.back().Area), "197,0,200,18");
    EXPECT_EQ(BackgroundOf("a"), "clear");
}

} // namespace
} // namespace velmora
