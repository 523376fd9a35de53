#include "RenderFixture.h"

#include <string>

namespace velmora {
namespace {

class RenderLayout : public RenderFixture {};

TEST_F(RenderLayout, LinesAndWrapping) {
    const LayoutCase cases[] = {
        {"", 200, 0, 16, ""},
        {"ab", 200, 16, 16, "ab@1,0"},
        {"a<BR>b", 200, 8, 32, "a@1,0 b@1,16"},
        {"a\r\nb", 200, 8, 32, "a@1,0 b@1,16"},
        {"ab<B>cd</B>", 200, 32, 16, "ab@1,0 cd@17,0"},
        {"a<B>b</B>c<I>d</I>", 200, 32, 16, "a@1,0 b@9,0 c@17,0 d@25,0"}, // tags do not break lines
        {"a&amp;b", 200, 24, 16, "a&b@1,0"},
        // Line width 80: "first " ends at 48, "second " would end at 104.
        {"first second third", 81, 48, 48, "first @1,0 second @1,16 third@1,32"},
        {"abcdefghij xy", 41, 80, 32, "abcdefghij @1,0 xy@1,16"},
        {"xy abcdefghijkl z", 41, 96, 48, "xy @1,0 abcdefghijkl @1,16 z@1,32"},
        {"<B>abc</B>def", 41, 48, 16, "abc@1,0 def@25,0"}, // no break inside a word
        {"aaa&nbsp;bbb", 41, 56, 16, "aaa bbb@1,0"},
        // One trailing space does not count; a further one or a trailing "&nbsp;" does.
        {"ab ", 200, 16, 16, "ab @1,0"},
        {"ab  ", 200, 24, 16, "ab @1,0  @25,0"},
        {"ab&nbsp;", 200, 24, 16, "ab @1,0"},
        {"ab <BR>c", 200, 16, 32, "ab @1,0 c@1,16"},
        {"ab <B>c", 200, 32, 16, "ab @1,0 c@25,0"},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, AlignmentAndIndent) {
    const LayoutCase cases[] = {
        // Line width 100: "x" leaves 92 pixels, half of them go left, on following lines too.
        {"<P align=\"center\">x<BR>y", 101, 8, 32, "x@47,0 y@47,16"},
        {"<P align=\"right\">abc", 101, 24, 16, "abc@77,0"},
        {"<P align=\"right\">abc ", 101, 24, 16, "abc @77,0"},
        {"<P align=\"leftright center\">x", 101, 8, 16, "x@47,0"},
        {"<P align=\"right\">a</P><P align=\"left\">b", 101, 8, 32, "a@93,0 b@1,16"},
        {"<P align=\"center\">abcdefghijkl", 81, 96, 16, "abcdefghijkl@1,0"},
        {"<P indent=\"20\">abc<BR>def", 200, 24, 32, "abc@21,0 def@21,16"},
        // Line width 80 less the indent of 20: "bbbb" would end at 72, past the 60 pixels left.
        {"<P indent=\"20\">aaaa bbbb", 81, 32, 32, "aaaa @21,0 bbbb@21,16"},
        {"<P indent=\"20\">aaa bbb", 81, 56, 16, "aaa @21,0 bbb@53,0"},
        {"<P indent=\"20\">ab abcdefgh", 81, 64, 32, "ab @21,0 abcdefgh@21,16"},
        {"a<BR><P indent=\"20\">aaaa bbbb", 81, 32, 48, "a@1,0 aaaa @21,16 bbbb@21,32"},
        {"<P indent=\"80\">ab cd", 81, 16, 32, "ab @81,0 cd@81,16"}, // no room: a word a line
        {"<P indent=\"-8\">aaaa bbbb", 81, 72, 16, "aaaa @-7,0 bbbb@33,0"},
        // Aligned lines sit within the 60 pixels the indent leaves, so none runs past the right edge.
        {"<P align=\"center\" indent=\"20\">aaaa bbbb", 81, 32, 32, "aaaa @35,0 bbbb@35,16"},
        {"<P align=\"right\" indent=\"20\">aaaa bbbb", 81, 32, 32, "aaaa @49,0 bbbb@49,16"},
        {"<P align=\"center\" indent=\"40\">abcd efgh", 81, 32, 32, "abcd @45,0 efgh@45,16"},
        {"<P align=\"right\" indent=\"40\">abc de", 81, 24, 32, "abc @57,0 de@65,16"},
        {"<P align=\"right\" indent=\"20\">abcdefghij", 81, 80, 16, "abcdefghij@21,0"},
        {"<P align=\"center\" indent=\"20\">abcdefghij", 81, 80, 16, "abcdefghij@21,0"},
        {"<P align=\"right\" indent=\"-8\">aaaa bbbb", 81, 72, 16, "aaaa @9,0 bbbb@49,0"},
        {"<P indent=\"abc\">x", 200, 8, 16, "x@1,0"},
        {"a<IN x=\"50\">b", 200, 58, 16, "a@1,0 b@50,0"},
        {"abcdefgh<IN x=\"10\">b", 200, 72, 16, "abcdefgh@1,0 b@65,0"},
        {"a<IN x=\"50px\">b", 200, 16, 16, "a@1,0 b@9,0"},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, ScriptsHiddenTextListsAndRules) {
    const LayoutCase cases[] = {
        // Scripts move by a quarter of the 16-pixel text height and end with the line.
        {"a<SUB>2</SUB>", 200, 16, 20, "a@1,0 2@9,4"},
        {"a<SUP>2</SUP>", 200, 16, 20, "a@1,4 2@9,0"},
        {"a<SUP>2</SUP><SUB>3</SUB>", 200, 24, 24, "a@1,4 2@9,0 3@17,8"},
        {"<SUB>a<BR>b", 200, 8, 36, "a@1,4 b@1,20"},
        {"a<Z>b</Z>c", 200, 16, 16, "a@1,0 c@9,0"},
        {"a<Z>bc<BR>d", 200, 8, 32, "a@1,0"},
        // UL ends its line; LI indents 12 pixels per level with its bullet 12 pixels before the text.
        {"<UL><LI>item", 200, 44, 32, "\xB7@1,16 item@13,16"},
        {"<UL><UL><LI>x", 200, 32, 48, "o@13,32 x@25,32"},
        {"<UL><LI>a<LI>b", 200, 20, 48, "\xB7@1,16 a@13,16 \xB7@1,32 b@13,32"},
        {"<UL><LI>a</LI>b</UL>", 200, 20, 48, "\xB7@1,16 a@13,16 b@1,32"},
        {"<Z><UL><LI>a", 200, 12, 32, ""},
        {"a<HR>b", 200, 8, 32, "a@1,0 b@1,16"},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, LinesBelowTheBoundsAreDroppedUnlessMeasuring) {
    struct Case {
        int bottom;
        bool measureOnly;
        int textHeight;
        std::string placement;
    };
    const Case cases[] = {
        {40, false, 32, "a@1,0 b@1,16"}, // a third line would end at 48
        {48, false, 48, "a@1,0 b@1,16 c@1,32"},
        {5, false, 16, "a@1,0"}, // the first line always
        {5, true, 48, ""},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params("a<BR>b<BR>c", {0, 0, 200, c.bottom});
        params.Request.MeasureOnly = c.measureOnly;
        params.Request.HitX = params.Request.HitY = 5;
        EXPECT_FALSE(params.Run());
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.bottom;
        EXPECT_EQ(Placement(), c.placement) << c.bottom;
    }
}

TEST_F(RenderLayout, WithoutWordWrapRunsAreCutWithAnEllipsis) {
    // Line width 80 holds "first " (48) but not "second" after it: the rest of the text goes.
    const LayoutCase cases[] = {
        {"first <B>second</B><BR>third", 81, 96, 16, "first @1,0 s...@49,0"},
        {"first<B>second</B><BR>third", 81, 88, 32, "first@1,0 se...@41,0 third@1,16"},
        {"abcdefghijklmnop<BR>next", 81, 80, 32, "abcdefg...@1,0 next@1,16"},
        {"aaa bbb ccc ddd", 81, 80, 16, "aaa bbb...@1,0"},
        // A run wider than the whole line is cut where it stands; the lines after it still show.
        {"ab <B>averyveryverylongboldword</B><BR>third line", 101, 120, 32,
         "ab @1,0 averyv...@25,0 third line@1,16"},
        {"ab <B>abcdefghijklm</B><BR>third", 101, 120, 32, "ab @1,0 abcdef...@25,0 third@1,16"},
    };
    for (const LayoutCase& c : cases) {
        Check(c, false);
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Text)) {
            EXPECT_NE(r.Format & DT_END_ELLIPSIS, 0u) << c.markup << ": " << r.Shown;
        }
    }
}

TEST_F(RenderLayout, MeasuringCarriesStateFromLineToLine) {
    struct Case {
        std::string markup;
        int right;
        int textWidth;
        int textHeight;
    };
    const Case cases[] = {
        {"<UL><LI>abc", 200, 36, 32},
        {"<Z>aaaaaaaa<BR>bbbbbbbb</Z>c", 200, 8, 32},
        {"first second third", 81, 48, 48}, // wrapped as when drawn
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, {0, 0, c.right, 100});
        params.Request.MeasureOnly = true;
        params.Request.HitX = params.Request.HitY = 5;
        EXPECT_FALSE(params.Run()) << c.markup;
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.markup;
        EXPECT_TRUE(canvas.Records().empty()) << c.markup;
    }
}

TEST_F(RenderLayout, TextStartsAtTheCornerOfItsBounds) {
    const MarkupCall params = Draw("ab", {10, 20, 200, 100});
    EXPECT_EQ(params.Result.TextWidth, 16);
    EXPECT_EQ(params.Result.TextHeight, 16);
    EXPECT_EQ(Placement(), "ab@11,20");
}

TEST_F(RenderLayout, PlainTextHoldsEachRunOnce) {
    EXPECT_EQ(Draw("a<BR>b<Z>hidden</Z>&amp;&lt;").Result.PlainText, "a\rbhidden&&<");
    EXPECT_EQ(Draw("first second third", {0, 0, 81, 100}).Result.PlainText, "first second third");
}

TEST_F(RenderLayout, LineSpacingAndFlavors) {
    struct Case {
        MarkupFlavor flavor;
        int textHeight;
        std::string placement; // the static text draws 18-pixel cells, and bullets of hidden items
        TextFormat format;
    };
    const TextFormat run = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS;
    const Case cases[] = {
        {MarkupFlavor::Label, 40, "a@1,4", run},
        {MarkupFlavor::StaticText, 32, "a@1,-2 \xB7@1,16", run | DT_EXTERNALLEADING},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MarkupCall params = Params("a<UL><Z><LI>b");
        params.Request.LineSpacing = 4;
        params.Request.Flavor = c.flavor;
        params.Run();
        EXPECT_EQ(params.Result.TextHeight, c.textHeight);
        EXPECT_EQ(Placement(), c.placement);
        EXPECT_EQ(canvas.RecordsOf(testkit::DrawKind::Text).front().Format, c.format);
    }
}

} // namespace
} // namespace velmora
