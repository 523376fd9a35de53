#include "controls/core/MarkupView.h"

#include "RecordingHost.h"
#include "controls/core/MarkupDrawing.h"
#include "controls/core/TextLines.h"
#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::FakeCanvas;

// A control's window on the fake canvas: every character 8 pixels wide, a line 16 pixels high.
class FakeSurface final : public MarkupSurface {
public:
    FakeSurface(std::string markup, Size size) : Text(std::move(markup)), Area(size) {}

    std::string Text;
    Size Area;
    std::vector<Size> Resizes;
    MarkupView* View = nullptr;

    std::string Markup() const override { return Text; }
    MarkupSources Sources() const override { return {}; }
    void ShapeRequest(MarkupRequest& request) const override { request.Flavor = MarkupFlavor::StaticText; }
    void WithMeasureCanvas(const std::function<void(Canvas&)>& use) override {
        FakeCanvas canvas;
        use(canvas);
    }
    Size ClientSize() const override { return Area; }
    std::int32_t DpiX() const override { return 96; }
    std::int32_t DpiY() const override { return 96; }
    void Resize(Size size) override {
        Resizes.push_back(size);
        Area = size;
    }
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override {
        return View->HitTest({0, 0, Area.Width, Area.Height}, x, y);
    }
};

// "go <A href="one">ab</A> <A href="two">cd</A>": "ab" spans x 24 to 40, "cd" x 48 to 64, on line 0..16.
struct ViewFixture {
    explicit ViewFixture(std::string markup = R"(go <A href="one">ab</A> <A href="two">cd</A>)",
                         Size size = {200, 40})
        : Surface(std::move(markup), size), View(Surface, Settings, Hovering) {
        Surface.View = &View;
    }

    MarkupSettings Settings;
    AnchorHover Hovering;
    FakeSurface Surface;
    MarkupView View;
};

TEST(MarkupViewTest, HitTestsFindTheAnchorWhereItIsDrawn) {
    const struct {
        Point At;
        const char* Anchor;
        std::int32_t Number;
        TVAlignment Alignment;
    } cases[] = {
        {{25, 5}, "one", 1, tvaTop},     {{50, 5}, "two", 2, tvaTop},  {{5, 5}, "", -1, tvaTop},
        {{25, 30}, "", -1, tvaTop},      {{25, 5}, "", -1, tvaBottom}, {{25, 30}, "one", 1, tvaBottom},
        {{50, 14}, "two", 2, tvaCenter},
    };
    for (const auto& c : cases) {
        ViewFixture fixture;
        fixture.Settings.VAlignment = c.Alignment;
        // Asked twice: the second answer comes from the kept layout and must be the same.
        for (int round = 0; round < 2; ++round) {
            const AnchorHit hit = fixture.Surface.AnchorAt(c.At.X, c.At.Y);
            EXPECT_EQ(hit.Anchor, c.Anchor) << c.At.X << "," << c.At.Y << " round " << round;
            EXPECT_EQ(fixture.Hovering.Anchor, c.Number) << c.At.X << "," << c.At.Y;
        }
    }
}

TEST(MarkupViewTest, LinksComeInTextOrderWithTheirPlacesAndLeaveTheHoverAlone) {
    ViewFixture fixture;
    fixture.Hovering.Anchor = 7;
    const std::vector<LinkPlace>& links = fixture.View.Links();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Text, "ab");
    EXPECT_EQ(links[0].Target, "one");
    EXPECT_TRUE(links[0].Bounds.Contains({25, 5}));
    EXPECT_FALSE(links[0].Bounds.Contains({50, 5}));
    EXPECT_EQ(links[1].Target, "two");
    EXPECT_TRUE(links[1].Bounds.Contains({50, 5}));
    EXPECT_EQ(fixture.Hovering.Anchor, 7);

    // A link scrolled out of sight has no place.
    ViewFixture narrow(R"(<A href="one">ab</A><BR><BR><BR><A href="two">cd</A>)", {200, 20});
    const std::vector<LinkPlace>& shown = narrow.View.Links();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Target, "one");
    EXPECT_TRUE(shown[1].Target.empty());
    EXPECT_TRUE(shown[1].Bounds.IsEmpty());
}

TEST(MarkupViewTest, AutoSizingResizesOnlyInTheDirectionsAllowedAndOnlyOnAChange) {
    const struct {
        AutoSizeRules Rules; // vertical, horizontal
        std::int32_t TextWidth;
        std::int32_t TextHeight;
        std::vector<Size> Resizes;
    } cases[] = {
        {{false, false}, 50, 50, {}},
        {{true, false}, 50, 50, {{200, 56}}},
        {{false, true}, 50, 50, {{56, 40}}},
        {{true, true}, 194, 34, {}},
        {{true, true}, 2147483647, -100, {{kMaxControlExtent, 0}}},
    };
    for (const auto& c : cases) {
        ViewFixture fixture;
        fixture.View.FitToText(c.Rules, c.TextWidth, c.TextHeight);
        EXPECT_EQ(fixture.Surface.Resizes, c.Resizes) << c.TextWidth << "x" << c.TextHeight;
    }
}

TEST(MarkupViewTest, PaintsTellTheCoresWhatTheyDrew) {
    ViewFixture fixture;
    AnchorHover coreHover;
    testkit::RecordingHost host(coreHover, {});
    StaticTextCore text(host, fixture.Hovering);
    const struct {
        bool Enabled;
        std::vector<std::string> Drawn;
    } cases[] = {{true, {"go ", "ab", " ", "cd"}}, {false, {"go ", "ab", " ", "cd", "go ", "ab", " ", "cd"}}};
    for (const auto& c : cases) {
        FakeCanvas canvas;
        DrawStaticText(canvas, fixture.View, text, {{0, 0, 200, 40}, {0, 0}, false, c.Enabled});
        EXPECT_EQ(canvas.DrawnTexts(), c.Drawn) << c.Enabled;
        EXPECT_EQ(text.AnchorCount(), 2);
    }

    LabelCore label(host, fixture.Hovering);
    FakeCanvas canvas;
    PaintLabel(canvas, fixture.View, label, {}, {{0, 0, 200, 40}, {0, 0}, true, true});
    EXPECT_EQ(label.FocusHref(), "one");
    PaintLabel(canvas, fixture.View, label, {}, {{0, 0, 200, 40}, {0, 0}, false, true});
    EXPECT_EQ(label.FocusHref(), "");
}

TEST(MarkupViewTest, Utf8LinesAreStoredInWindows1252WhenItHoldsThem) {
    const struct {
        std::vector<std::string> Utf8;
        std::vector<std::string> Stored;
    } cases[] = {
        {{}, {}},
        {{"Bj\xC3\xB6rk", "5 \xE2\x82\xAC"}, {"Bj\xF6rk", "5 \x80"}},
        {{"Bj\xC3\xB6rk", "\xE6\x9D\xB1\xE4\xBA\xAC"},
         {"\xEF\xBB\xBF"
          "Bj\xC3\xB6rk",
          "\xE6\x9D\xB1\xE4\xBA\xAC"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkupLinesFromUtf8(c.Utf8), c.Stored);
    }
}

} // namespace
} // namespace velmora
