#include "RenderFixture.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::DrawKind;
using testing::DrawRecord;

class RenderDraw : public RenderFixture {};

// How each named run was drawn: font colour, brush (clNone when clear) and styles.
struct RunLook {
    std::string shown;
    TColor color;
    TColor background;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

void ExpectLook(const DrawRecord& record, const RunLook& look) {
    EXPECT_EQ(record.Font.Color, look.color) << look.shown;
    const TColor background = record.BrushState.Style == BrushStyle::Clear ? clNone : record.BrushState.Color;
    EXPECT_EQ(background, look.background) << look.shown;
    EXPECT_EQ(record.Font.Bold, look.bold) << look.shown;
    EXPECT_EQ(record.Font.Italic, look.italic) << look.shown;
    EXPECT_EQ(record.Font.Underline, look.underline) << look.shown;
    EXPECT_EQ(record.Font.StrikeOut, look.strikeOut) << look.shown;
}

TEST_F(RenderDraw, StylesAndColours) {
    struct Case {
        std::string markup;
        std::vector<RunLook> looks;
    };
    const TColor base = BaseColor;
    const Case cases[] = {
        {"<B>a</B>b", {{"a", base, clNone, true}, {"b", base, clNone}}},
        {"<b>a</b>b", {{"a", base, clNone, true}, {"b", base, clNone}}},
        {"<I>a</I><U>b</U><S>c</S>d",
         {{"a", base, clNone, false, true},
          {"b", base, clNone, false, false, true},
          {"c", base, clNone, false, false, false, true},
          {"d", base, clNone}}},
        {"<B >a<BIG>b", {{"a", base, clNone}, {"b", base, clNone}}},
        {"<U>a</UL>b", {{"a", base, clNone, false, false, true}, {"b", base, clNone}}},
        {"<UL><U>a</UL>b",
         {{"a", base, clNone, false, false, true}, {"b", base, clNone, false, false, true}}},
        {"<FONT color=\"#ff0000\">a</FONT>b", {{"a", clRed, clNone}, {"b", base, clNone}}},
        {"<FONT color=\"clblue\">a", {{"a", clBlue, clNone}}},
        {"<FONT color=\"red\">a", {{"a", clBlack, clNone}}},
        {"<FONT color=red>a", {{"a", base, clNone}}},
        {"<FONT color=\"\">a", {{"a", base, clNone}}},
        {"<FONT bgcolor=\"clyellow\">a</FONT>b", {{"a", base, clYellow}, {"b", base, clNone}}},
        {"<FONT bgcolor=\"clyellow\">a<FONT bgcolor=\"clred\">b</FONT>c",
         {{"a", base, clYellow}, {"b", base, clRed}, {"c", base, clYellow}}},
        {"<HI>a</HI>b", {{"a", clHighlightText, clHighlight}, {"b", base, clNone}}},
        {"a</HI>b", {{"a", base, clNone}, {"b", base, clNone}}},
        {"<BLINK>a</BLINK>b", {{"a", clWhite, clNone}, {"b", base, clNone}}},
        {"<BLOCKQUOTE>a", {{"a", clWhite, clNone}}},
        {"<A href=\"u\">a</A>b", {{"a", clRed, clNone, false, false, true}, {"b", base, clNone}}},
        {"<BLINK>a<A href=\"u\">b</A>c",
         {{"a", clWhite, clNone}, {"b", clRed, clNone, false, false, true}, {"c", base, clNone}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        canvas.ClearRecords();
        RenderMarkupParams params = Params(c.markup);
        params.blinkVisible = false;
        RenderMarkup(params);
        const std::vector<DrawRecord> texts = Texts();
        ASSERT_EQ(texts.size(), c.looks.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].Shown, c.looks[i].shown);
            ExpectLook(texts[i], c.looks[i]);
        }
    }
}

TEST_F(RenderDraw, FontFaceAndSizeReturnToTheBaseFont) {
    FontState base = canvas.Font();
    base.Name = "Base";
    base.Size = 9;
    canvas.SetFont(base);
    Draw("<FONT face=\"Arial\" size=\"5\">a<FONT size=\"2\">b</FONT>c</FONT>d<FONT size=7>e");
    struct Case {
        std::string shown;
        std::string name;
        int size;
    };
    const Case cases[] = {
        {"a", "ARIAL", 16}, {"b", "ARIAL", 10}, {"c", "Base", 9}, {"d", "Base", 9}, {"e", "Base", 7},
    };
    for (const Case& c : cases) {
        const DrawRecord record = TextRecord(c.shown);
        EXPECT_EQ(record.Font.Name, c.name) << c.shown;
        EXPECT_EQ(record.Font.Size, c.size) << c.shown;
    }
    EXPECT_EQ(canvas.Font(), base);
}

TEST_F(RenderDraw, SuppressedColours) {
    RenderMarkupParams params =
        Params("<FONT color=\"clblue\" bgcolor=\"clyellow\">a</FONT><A href=\"u\">b</A><BLINK>c</BLINK>");
    params.suppressColors = true;
    params.blinkVisible = false;
    RenderMarkup(params);
    ExpectLook(TextRecord("a"), {"a", BaseColor, clNone});
    ExpectLook(TextRecord("b"), {"b", BaseColor, clNone, false, false, true});
    // Blinking is not a markup colour.
    ExpectLook(TextRecord("c"), {"c", clWhite, clNone});
}

TEST_F(RenderDraw, AnchorHoverStyling) {
    struct Case {
        const char* name;
        bool hoverEnabled;
        int hoverAnchor;
        TColor hoverColor;
        TColor hoverFontColor;
        std::vector<RunLook> looks;
    };
    const Case cases[] = {
        {"every anchor styled",
         false,
         -1,
         clNone,
         clNone,
         {{"one", clRed, clNone, false, false, true},
          {" ", BaseColor, clNone},
          {"two", clRed, clNone, false, false, true}}},
        {"every anchor on the hover background",
         false,
         -1,
         clYellow,
         clNone,
         {{"one", clRed, clYellow, false, false, true},
          {" ", BaseColor, clNone},
          {"two", clRed, clYellow, false, false, true}}},
        {"only the hovered anchor",
         true,
         2,
         clYellow,
         clGreen,
         {{"one", clRed, clNone}, {" ", BaseColor, clNone}, {"two", clGreen, clYellow, false, false, true}}},
        {"hovered without a font colour",
         true,
         1,
         clNone,
         clNone,
         {{"one", clRed, clNone, false, false, true}, {" ", BaseColor, clNone}, {"two", clRed, clNone}}},
        {"nothing hovered",
         true,
         -1,
         clYellow,
         clGreen,
         {{"one", clRed, clNone}, {" ", BaseColor, clNone}, {"two", clRed, clNone}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.ClearRecords();
        RenderMarkupParams params = Params("<A href=\"1\">one</A> <A href=\"2\">two</A>");
        params.hoverEnabled = c.hoverEnabled;
        params.hoverAnchor = c.hoverAnchor;
        params.hoverColor = c.hoverColor;
        params.hoverFontColor = c.hoverFontColor;
        RenderMarkup(params);
        EXPECT_EQ(params.anchorCount, 2);
        const std::vector<DrawRecord> texts = Texts();
        ASSERT_EQ(texts.size(), c.looks.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ExpectLook(texts[i], c.looks[i]);
        }
    }
}

TEST_F(RenderDraw, FocusRectanglesAndFocusHref) {
    struct Case {
        const char* name;
        std::string markup;
        Rect bounds;
        int focusAnchor;
        std::vector<Rect> frames;
        std::string focusHref;
    };
    const Case cases[] = {
        // "two" is drawn from 33 to 57; the frame is one pixel wider on each side.
        {"second anchor",
         "<A href=\"1\">one</A> <A href=\"2\">two</A>",
         {0, 0, 200, 100},
         1,
         {{32, 0, 58, 16}},
         "2"},
        {"first anchor",
         "<A href=\"1\">one</A> <A href=\"2\">two</A>",
         {0, 0, 200, 100},
         0,
         {{0, 0, 26, 16}},
         "1"},
        {"no focus", "<A href=\"1\">one</A> <A href=\"2\">two</A>", {0, 0, 200, 100}, -1, {}, ""},
        {"stray end of anchor", "a</A>b", {0, 0, 200, 100}, -1, {}, ""},
        // Broken after "aaaa ": one frame per line.
        {"anchor over two lines",
         "<A href=\"x\">aaaa bbbb</A>",
         {0, 0, 51, 100},
         0,
         {{0, 0, 42, 16}, {1, 16, 34, 32}},
         "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.ClearRecords();
        RenderMarkupParams params = Params(c.markup, c.bounds);
        params.focusAnchor = c.focusAnchor;
        RenderMarkup(params);
        std::vector<Rect> frames;
        for (const DrawRecord& record : canvas.RecordsOf(DrawKind::FocusRect)) {
            frames.push_back(record.Area);
        }
        EXPECT_EQ(frames, c.frames);
        EXPECT_EQ(params.focusHref, c.focusHref);
    }
}

TEST_F(RenderDraw, ShadowRuleAndErrorUnderline) {
    RenderMarkupParams params = Params("<SH>a</SH>b");
    params.shadowOffset = 2;
    params.shadowColor = clGray;
    RenderMarkup(params);
    std::vector<DrawRecord> texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Area, (Rect{3, 2, 11, 18}));
    EXPECT_EQ(texts[0].Font.Color, clGray);
    EXPECT_EQ(texts[1].Area, (Rect{1, 0, 9, 16}));
    EXPECT_EQ(texts[1].Font.Color, BaseColor);
    EXPECT_EQ(texts[2].Shown, "b");

    canvas.ClearRecords();
    canvas.SetPenColor(clGreen);
    Draw("a<HR>b");
    std::vector<DrawRecord> lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<Point>{{1, 17}, {200, 17}}));
    EXPECT_EQ(lines[0].PenState.Color, clBlack);
    EXPECT_EQ(canvas.CurrentPen().Color, clGreen);

    // "ab" runs from 1 to 17: the zigzag starts at 0 (a multiple of 4, so low) one pixel under the
    // line's bottom and alternates every two pixels until it passes 17.
    canvas.ClearRecords();
    Draw("<E>ab</E>c");
    lines = canvas.RecordsOf(DrawKind::Line);
    std::vector<Point> zigzag;
    for (const DrawRecord& line : lines) {
        EXPECT_EQ(line.PenState.Color, clRed);
        EXPECT_EQ(line.PenState.Width, 1);
        zigzag.push_back(line.Points[1]);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].Points[0], (Point{0, 17}));
    const std::vector<Point> expected{{2, 15},  {4, 17},  {6, 15},  {8, 17}, {10, 15},
                                      {12, 17}, {14, 15}, {16, 17}, {18, 15}};
    EXPECT_EQ(zigzag, expected);
}

TEST_F(RenderDraw, ErrorUnderlinePhaseFollowsTheRunStart) {
    // "a" ends at 9; the zigzag under "b" starts at 9 rounded down to 8, a multiple of 4.
    Draw("a<E>b");
    std::vector<DrawRecord> lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].Points[0], (Point{8, 17}));
    EXPECT_EQ(lines[4].Points[1], (Point{18, 15}));

    canvas.ClearRecords();
    Draw("abcdefg<E>b"); // starts at 57, rounded to 56: also low first
    lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].Points[0], (Point{56, 17}));

    canvas.ClearRecords();
    Draw("ab<E>b"); // starts at 17, rounded to 16
    lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].Points[0], (Point{16, 17}));

    canvas.ClearRecords();
    Draw("abcdef<E>b"); // starts at 49, rounded to 48
    lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].Points[0], (Point{48, 17}));
}

TEST_F(RenderDraw, RotatedRunsAndRestoredCanvas) {
    canvas.SetBrushColor(clAqua);
    const FontState base = canvas.Font();
    Draw("<R a=\"90\">up</R>x<R a=\"450\">y<R a=\"30\">z</R>w");
    EXPECT_EQ(TextRecord("up").Font.Escapement, 900);
    EXPECT_EQ(TextRecord("x").Font.Escapement, 0);
    EXPECT_EQ(TextRecord("y").Font.Escapement, 900);
    EXPECT_EQ(TextRecord("z").Font.Escapement, 300);
    EXPECT_EQ(TextRecord("w").Font.Escapement, 0);
    EXPECT_EQ(canvas.Font(), base);
    EXPECT_EQ(canvas.CurrentBrush(), (Brush{clAqua, BrushStyle::Solid}));
}

TEST_F(RenderDraw, HitTestingDrawsNothing) {
    RenderMarkupParams params = Params("<SH><E><A href=\"u\">a</A><HR><UL><LI>b");
    params.noDraw = true;
    params.focusAnchor = 0;
    RenderMarkup(params);
    EXPECT_TRUE(canvas.Records().empty());
    EXPECT_EQ(params.textWidth, 20);
    EXPECT_EQ(params.textHeight, 48);
}

} // namespace
} // namespace velmora
