#include "graphics/qt/QtConversions.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "tools/velmora-markup/MarkupToolOptions.h"
#include "tools/velmora-markup/MarkupToolRendering.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::InkBounds;
using testkit::InkCount;
using testkit::QtTest;

TEST(MarkupToolOptionsTest, ReadsTheCommandLine) {
    struct Case {
        std::vector<std::string> arguments;
        std::int32_t width;
        std::optional<std::int32_t> height;
        std::string font;
        std::int32_t size;
        std::optional<Point> hit;
        bool staticText;
        std::string markup;
    };
    const Case cases[] = {
        {{"<B>x</B>", "out.png"}, 320, std::nullopt, "MS Sans Serif", 8, std::nullopt, false, "<B>x</B>"},
        {{"--width", "100", "--height", "40", "a", "o.png"},
         100,
         40,
         "MS Sans Serif",
         8,
         std::nullopt,
         false,
         "a"},
        {{"--font", "Arial", "--size", "12", "--static", "a", "o.png"},
         320,
         std::nullopt,
         "Arial",
         12,
         std::nullopt,
         true,
         "a"},
        {{"a", "--hit", "10,-3", "o.png"}, 320, std::nullopt, "MS Sans Serif", 8, Point{10, -3}, false, "a"},
        {{"--", "--static", "o.png"}, 320, std::nullopt, "MS Sans Serif", 8, std::nullopt, false, "--static"},
        {{"-", "o.png"}, 320, std::nullopt, "MS Sans Serif", 8, std::nullopt, false, "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const ParsedMarkupToolArguments parsed = ParseMarkupToolArguments(c.arguments);
        EXPECT_TRUE(parsed.Options) << parsed.Error;
        if (!parsed.Options) {
            continue;
        }
        const MarkupToolOptions& o = *parsed.Options;
        EXPECT_EQ(o.Width, c.width);
        EXPECT_EQ(o.Height, c.height);
        EXPECT_EQ(o.FontName, c.font);
        EXPECT_EQ(o.FontSize, c.size);
        EXPECT_EQ(o.Hit, c.hit);
        EXPECT_EQ(o.StaticText, c.staticText);
        EXPECT_EQ(o.Markup, c.markup);
        EXPECT_EQ(o.Output, "o.png" == c.arguments.back() ? "o.png" : c.arguments.back());
    }
}

TEST(MarkupToolOptionsTest, ReadsThePictureAndDisplayOptions) {
    const ParsedMarkupToolArguments parsed =
        ParseMarkupToolArguments({"--hover", "3,4", "--ellipsis", "--container", "logo=a=b.png",
                                  "--container", "x=/p/x.gif", "--animate", "12", "m", "o.png"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    const MarkupToolOptions& o = *parsed.Options;
    EXPECT_EQ(o.Hover, (Point{3, 4}));
    EXPECT_FALSE(o.Hit);
    EXPECT_TRUE(o.Ellipsis);
    const std::vector<std::pair<std::string, std::string>> pictures = {{"logo", "a=b.png"},
                                                                       {"x", "/p/x.gif"}};
    EXPECT_EQ(o.ContainerPictures, pictures);
    EXPECT_EQ(o.Frames, 12);

    const ParsedMarkupToolArguments plain = ParseMarkupToolArguments({"m", "o.png"});
    ASSERT_TRUE(plain.Options);
    EXPECT_FALSE(plain.Options->Ellipsis);
    EXPECT_FALSE(plain.Options->Hover);
    EXPECT_TRUE(plain.Options->ContainerPictures.empty());
    EXPECT_EQ(plain.Options->Frames, 1);
}

TEST(MarkupToolOptionsTest, NamesOneFilePerAnimationFrame) {
    struct Case {
        std::string output;
        std::int32_t number, count;
        std::string expected;
    };
    const Case cases[] = {
        {"out.png", 1, 1, "out.png"},   {"out.png", 1, 3, "out-1.png"}, {"a/b.PNG", 12, 20, "a/b-12.PNG"},
        {"picture", 2, 2, "picture-2"}, {".png", 2, 2, ".png-2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FramePictureName(c.output, c.number, c.count), c.expected) << c.output;
    }
}

TEST(MarkupToolOptionsTest, RejectsWhatItCannotRender) {
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Case cases[] = {
        {{}, "expected MARKUP and OUT.png"},
        {{"a"}, "expected MARKUP and OUT.png"},
        {{"a", "b", "c"}, "expected MARKUP and OUT.png"},
        {{"--width"}, "--width needs a value"},
        {{"--width", "0", "a", "o.png"}, "--width must be a number from 1 to 10000"},
        {{"--height", "10001", "a", "o.png"}, "--height must be a number from 1 to 10000"},
        {{"--width", "12px", "a", "o.png"}, "--width must be a number from 1 to 10000"},
        {{"--size", "99999999999", "a", "o.png"}, "--size must be a number of points from 1 to 1000"},
        {{"--hit", "10", "a", "o.png"}, "--hit must be X,Y"},
        {{"--hit", "1,2,3", "a", "o.png"}, "--hit must be X,Y"},
        {{"--hit", ",2", "a", "o.png"}, "--hit must be X,Y"},
        {{"--wide", "a", "o.png"}, "unknown option --wide"},
        {{"--hover", "1", "a", "o.png"}, "--hover must be X,Y"},
        {{"--container", "logo", "a", "o.png"}, "--container must be NAME=FILE"},
        {{"--container", "=f.png", "a", "o.png"}, "--container must be NAME=FILE"},
        {{"--container", "logo=", "a", "o.png"}, "--container must be NAME=FILE"},
        {{"--animate", "0", "a", "o.png"}, "--animate must be a number of frames from 1 to 1000"},
        {{"--animate", "1001", "a", "o.png"}, "--animate must be a number of frames from 1 to 1000"},
        {{"a", "o.png", "--animate"}, "--animate needs a value"},
    };
    for (const Case& c : cases) {
        const ParsedMarkupToolArguments parsed = ParseMarkupToolArguments(c.arguments);
        EXPECT_FALSE(parsed.Options);
        EXPECT_EQ(parsed.Error, c.error);
    }
}

class MarkupToolRenderingTest : public QtTest {};

TEST_F(MarkupToolRenderingTest, HitsTheAnchorAndShowsItInTheLinkColour) {
    MarkupToolOptions options;
    options.Width = 200;
    options.FontName = "Arial";
    options.FontSize = 12;
    const std::string markup = "Go <A href=\"mailto:x@example.org\">there</A> now<BR>second line";

    MarkupToolPictures pictures;
    MarkupToolReport measured;
    const QImage picture = RenderMarkupPicture(options, markup, pictures, measured);
    EXPECT_EQ(picture.width(), 200);
    EXPECT_EQ(picture.height(), measured.TextHeight) << "without --height the picture fits the text";
    EXPECT_EQ(measured.AnchorCount, 1);
    EXPECT_FALSE(measured.Hit);
    const QColor face = ToQColor(clBtnFace);
    EXPECT_GT(InkCount(picture, QColor(0, 0, 255)), 0) << "the link is blue";
    const Rect ink = InkBounds(picture, face);
    EXPECT_GT(ink.Bottom, picture.height() / 2) << "two lines drawn";

    // Aim at the middle of the blue pixels.
    const Rect link = [&] {
        Rect r{1000, 1000, -1, -1};
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixelColor(x, y) == QColor(0, 0, 255)) {
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                         std::max(r.Bottom, y + 1)};
                }
            }
        }
        return r;
    }();
    options.Hit = Point{(link.Left + link.Right) / 2, (link.Top + link.Bottom) / 2};
    MarkupToolReport hit;
    RenderMarkupPicture(options, markup, pictures, hit);
    EXPECT_TRUE(hit.Hit);
    EXPECT_EQ(hit.HitAnchor, "mailto:x@example.org");
    EXPECT_EQ(hit.HitAnchorNumber, 1);
    EXPECT_LE(hit.HitAnchorRect.Left, link.Left);
    EXPECT_GE(hit.HitAnchorRect.Right, link.Right - 1);

    options.Hit = Point{5, picture.height() - 3};
    MarkupToolReport miss;
    RenderMarkupPicture(options, markup, pictures, miss);
    EXPECT_FALSE(miss.Hit);
    EXPECT_EQ(miss.HitAnchorNumber, -1);
}

TEST(MarkupToolReportTest, PrintsOneLinePerResult) {
    MarkupToolReport report;
    report.TextWidth = 120;
    report.TextHeight = 26;
    report.AnchorCount = 2;
    report.Hit = true;
    report.HitAnchor = "caf\xE9";
    report.HitAnchorNumber = 2;
    report.HitAnchorRect = {1, 2, 30, 40};
    struct Case {
        bool withHit;
        std::string expected;
    };
    const Case cases[] = {
        {false, "textWidth: 120\ntextHeight: 26\nanchorCount: 2\n"},
        {true, "textWidth: 120\ntextHeight: 26\nanchorCount: 2\nhit: true\nhitAnchor: caf\xC3\xA9\n"
               "hitAnchorNumber: 2\nhitAnchorRect: 1,2,30,40\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatMarkupToolReport(report, c.withHit), c.expected);
    }
}

} // namespace
} // namespace velmora
