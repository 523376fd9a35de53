#include "RenderFixture.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::DrawRecord;

class RenderDraw : public RenderFixture {
protected:
    std::vector<Rect> Areas(DrawKind kind) const {
        std::vector<Rect> areas;
        for (const DrawRecord& r : canvas.RecordsOf(kind)) {
            areas.push_back(r.Area);
        }
        return areas;
    }
};

TEST_F(RenderDraw, StylesAndColours) {
    struct Case {
        std::string markup;
        std::string looks;
    };
    // The brush at entry is white, so invisible BLINK text is white.
    const Case cases[] = {
        {"<B>a</B><b>b</b>c", "a:base B | b:base B | c:base"},
        {"<I>a</I><U>b</U><S>c</S>d", "a:base I | b:base U | c:base S | d:base"},
        {"<B >a<BIG>b", "a:base | b:base"},
        {"<U>a</UL>b<UL><U>c</UL>d", "a:base U | b:base | c:base U | d:base U"},
        {"<FONT color=\"#ff0000\">a</FONT>b", "a:red | b:base"},
        {"<FONT color=\"clblue\">a<FONT color=\"red\">b<FONT color=red>c", "a:blue | b:black | c:black"},
        {"<FONT color=red>a", "a:base"}, // unquoted reads as empty: no change
        {"<FONT color=\"\">a", "a:base"},
        {"<FONT bgcolor=\"clyellow\">a</FONT>b", "a:base/yellow | b:base"},
        {"<FONT bgcolor=\"clyellow\">a<FONT bgcolor=\"clred\">b</FONT>c",
         "a:base/yellow | b:base/red | c:base/yellow"},
        {"<HI>a</HI>b", "a:highlighttext/highlight | b:base"},
        {"a</HI>b", "a:base | b:base"},
        {"<BLINK>a</BLINK>b<BLOCKQUOTE>c", "a:white | b:base | c:white"},
        {"<BLINK>a<A href=\"u\">b</A>c", "a:white | b:red U | c:base"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup);
        params.Request.BlinkVisible = false;
        params.Run();
        EXPECT_EQ(Looks(), c.looks) << c.markup;
    }

    canvas.ClearRecords();
    MarkupCall params =
        Params("<FONT color=\"clblue\" bgcolor=\"clyellow\">a</FONT><A href=\"u\">b</A><BLINK>c</BLINK>");
    params.Request.SuppressColors = true;
    params.Request.BlinkVisible = false;
    params.Run();
    EXPECT_EQ(Looks(), "a:base | b:base U | c:white"); // blinking is not a markup colour
}

TEST_F(RenderDraw, FontFaceAndSizeReturnToTheBaseFont) {
    FontState base = canvas.Font();
    base.Name = "Base";
    base.Size = 9;
    canvas.SetFont(base);
    Draw("<FONT face=\"Arial\" size=\"5\">a<FONT size=\"2\">b</FONT>c</FONT><FONT size=7>d");
    std::string fonts;
    for (const DrawRecord& r : canvas.RecordsOf(DrawKind::Text)) {
        fonts += r.Shown + ":" + r.Font.Name + "/" + std::to_string(r.Font.Size) + " ";
    }
    EXPECT_EQ(fonts, "a:ARIAL/16 b:ARIAL/10 c:Base/9 d:Base/7 ");
    EXPECT_EQ(canvas.Font(), base);
}

TEST_F(RenderDraw, AnchorHoverStyling) {
    struct Case {
        bool hoverEnabled;
        int hoverAnchor;
        TColor hoverColor;
        TColor hoverFontColor;
        std::string looks;
    };
    const Case cases[] = {
        {false, -1, clNone, clNone, "one:red U |  :base | two:red U"},
        {false, -1, clYellow, clNone, "one:red/yellow U |  :base | two:red/yellow U"},
        {true, 2, clYellow, clGreen, "one:red |  :base | two:green/yellow U"},
        {true, 1, clNone, clNone, "one:red U |  :base | two:red"},
        {true, -1, clYellow, clGreen, "one:red |  :base | two:red"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params("<A href=\"1\">one</A> <A href=\"2\">two</A>");
        params.Request.HoverEnabled = c.hoverEnabled;
        params.Request.HoverAnchor = c.hoverAnchor;
        params.Request.HoverColor = c.hoverColor;
        params.Request.HoverFontColor = c.hoverFontColor;
        params.Run();
        EXPECT_EQ(params.Result.AnchorCount, 2);
        EXPECT_EQ(Looks(), c.looks) << c.hoverAnchor;
    }
}

TEST_F(RenderDraw, FocusRectanglesAndFocusHref) {
    struct Case {
        std::string markup;
        int right;
        int focusAnchor;
        std::vector<Rect> frames;
        std::string focusHref;
    };
    const std::string two = "<A href=\"1\">one</A> <A href=\"2\">two</A>";
    const Case cases[] = {
        // "two" is drawn from 33 to 57; the frame is one pixel wider on each side.
        {two, 200, 1, {{32, 0, 58, 16}}, "2"},
        {two, 200, 0, {{0, 0, 26, 16}}, "1"},
        {two, 200, -1, {}, ""},
        {"a</A>b", 200, -1, {}, ""},
        // Broken after "aaaa ": one frame on each line.
        {"<A href=\"x\">aaaa bbbb</A>", 51, 0, {{0, 0, 42, 16}, {1, 16, 34, 32}}, "x"},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, {0, 0, c.right, 100});
        params.Request.FocusAnchor = c.focusAnchor;
        params.Run();
        EXPECT_EQ(Areas(DrawKind::FocusRect), c.frames) << c.markup << " " << c.focusAnchor;
        EXPECT_EQ(params.Result.FocusHref, c.focusHref);
    }
}

TEST_F(RenderDraw, ShadowAndRule) {
    MarkupCall params = Params("<SH>a</SH>b<HR>");
    params.Request.ShadowOffset = 2;
    params.Request.ShadowColor = clGray;
    canvas.SetPenColor(clGreen);
    params.Run();
    EXPECT_EQ(Looks(), "a:gray | a:base | b:base");
    EXPECT_EQ(Placement(), "a@3,2 a@1,0 b@9,0");
    const std::vector<DrawRecord> lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<Point>{{1, 17}, {200, 17}}));
    EXPECT_EQ(lines[0].PenState.Color, clBlack);
    EXPECT_EQ(canvas.CurrentPen().Color, clGreen);
}

TEST_F(RenderDraw, ErrorUnderlineZigzag) {
    struct Case {
        std::string markup;
        std::vector<Point> points; // the start, then every corner
    };
    // The zigzag starts at the run's left edge rounded down to even, low (one pixel under the line's
    // bottom at 16) when that is a multiple of 4, and turns every two pixels until it passes the run.
    const Case cases[] = {
        {"<E>ab</E>c",
         {{0, 17}, {2, 15}, {4, 17}, {6, 15}, {8, 17}, {10, 15}, {12, 17}, {14, 15}, {16, 17}, {18, 15}}},
        {"a<E>b", {{8, 17}, {10, 15}, {12, 17}, {14, 15}, {16, 17}, {18, 15}}},
        {"ab<E>b", {{16, 17}, {18, 15}, {20, 17}, {22, 15}, {24, 17}, {26, 15}}},
        {"abcdefg<E>b", {{56, 17}, {58, 15}, {60, 17}, {62, 15}, {64, 17}, {66, 15}}},
        {"abcdef<E>b", {{48, 17}, {50, 15}, {52, 17}, {54, 15}, {56, 17}, {58, 15}}},
        {"<IN x=\"6\"><E>b", {{6, 15}, {8, 17}, {10, 15}, {12, 17}, {14, 15}}},
        {"<IN x=\"7\"><E>b", {{6, 15}, {8, 17}, {10, 15}, {12, 17}, {14, 15}, {16, 17}}},
    };
    for (const Case& c : cases) {
        Draw(c.markup);
        std::vector<Point> points;
        for (const DrawRecord& line : canvas.RecordsOf(DrawKind::Line)) {
            EXPECT_EQ(line.PenState, (Pen{clRed, 1, PenStyle::Solid}));
            if (points.empty()) {
                points.push_back(line.Points[0]);
            }
            points.push_back(line.Points[1]);
        }
        EXPECT_EQ(points, c.points) << c.markup;
    }
}

TEST_F(RenderDraw, RotatedRunsAndTheCanvasRestored) {
    canvas.SetBrushColor(clAqua);
    const FontState base = canvas.Font();
    Draw("<R a=\"90\">up</R>x<R a=\"450\">y<R a=\"30\">z</R>w</R>v");
    std::string escapements;
    for (const DrawRecord& r : canvas.RecordsOf(DrawKind::Text)) {
        escapements += r.Shown + std::to_string(r.Font.Escapement) + " ";
    }
    // A second R while turned keeps the unturned font for /R.
    EXPECT_EQ(escapements, "up900 x0 y900 z300 w0 v0 ");
    EXPECT_EQ(canvas.Font(), base);
    EXPECT_EQ(canvas.CurrentBrush(), (Brush{clAqua, BrushStyle::Solid}));
}

TEST_F(RenderDraw, HitTestingDrawsNothing) {
    MarkupCall params = Params("<SH><E><HI><A href=\"u\">a</A><HR><UL><LI>b");
    params.Request.NoDraw = true;
    params.Request.FocusAnchor = 0;
    params.Run();
    EXPECT_TRUE(canvas.Records().empty());
    EXPECT_EQ(params.Result.TextWidth, 20);
    EXPECT_EQ(params.Result.TextHeight, 48);
}

} // namespace
} // namespace velmora
