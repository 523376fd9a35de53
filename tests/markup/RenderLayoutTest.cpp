#include "RenderFixture.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::DrawRecord;

struct Placed {
    std::string shown;
    Rect cell;
};

struct LayoutCase {
    const char* name;
    std::string markup;
    Rect bounds;
    int textWidth;
    int textHeight;
    std::vector<Placed> drawn; // every text drawn, in order
};

class RenderLayout : public RenderFixture {
protected:
    void Check(const LayoutCase& c) {
        SCOPED_TRACE(c.name);
        canvas.ClearRecords();
        const RenderMarkupParams params = Draw(c.markup, c.bounds);
        EXPECT_EQ(params.textWidth, c.textWidth);
        EXPECT_EQ(params.textHeight, c.textHeight);
        const std::vector<DrawRecord> texts = Texts();
        ASSERT_EQ(texts.size(), c.drawn.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].Shown, c.drawn[i].shown) << i;
            EXPECT_EQ(texts[i].Area, c.drawn[i].cell) << c.drawn[i].shown;
        }
    }
};

TEST_F(RenderLayout, LinesAndWrapping) {
    const LayoutCase cases[] = {
        {"empty", "", {0, 0, 200, 100}, 0, 16, {}},
        {"one run", "ab", {0, 0, 200, 100}, 16, 16, {{"ab", {1, 0, 17, 16}}}},
        {"offset bounds", "ab", {10, 20, 200, 100}, 16, 16, {{"ab", {11, 20, 27, 36}}}},
        {"break", "a<BR>b", {0, 0, 200, 100}, 8, 32, {{"a", {1, 0, 9, 16}}, {"b", {1, 16, 9, 32}}}},
        {"line breaks in the text",
         "a\r\nb",
         {0, 0, 200, 100},
         8,
         32,
         {{"a", {1, 0, 9, 16}}, {"b", {1, 16, 9, 32}}}},
        {"runs continue",
         "ab<B>cd</B>",
         {0, 0, 200, 100},
         32,
         16,
         {{"ab", {1, 0, 17, 16}}, {"cd", {17, 0, 33, 16}}}},
        // Line width 80: "first " ends at 48, "second " would end at 104.
        {"wrap at spaces",
         "first second third",
         {0, 0, 81, 100},
         48,
         48,
         {{"first ", {1, 0, 49, 16}}, {"second ", {1, 16, 57, 32}}, {"third", {1, 32, 41, 48}}}},
        {"a long word stands alone",
         "abcdefghij xy",
         {0, 0, 41, 100},
         80,
         32,
         {{"abcdefghij ", {1, 0, 89, 16}}, {"xy", {1, 16, 17, 32}}}},
        {"a long word after text starts its own line",
         "xy abcdefghijkl z",
         {0, 0, 41, 100},
         96,
         48,
         {{"xy ", {1, 0, 25, 16}}, {"abcdefghijkl ", {1, 16, 105, 32}}, {"z", {1, 32, 9, 48}}}},
        {"no break inside a word",
         "<B>abc</B>def",
         {0, 0, 41, 100},
         48,
         16,
         {{"abc", {1, 0, 25, 16}}, {"def", {25, 0, 49, 16}}}},
        {"nbsp joins words", "aaa&nbsp;bbb", {0, 0, 41, 100}, 56, 16, {{"aaa bbb", {1, 0, 57, 16}}}},
        {"tags do not break lines",
         "a<B>b</B>c<I>d</I>",
         {0, 0, 200, 100},
         32,
         16,
         {{"a", {1, 0, 9, 16}}, {"b", {9, 0, 17, 16}}, {"c", {17, 0, 25, 16}}, {"d", {25, 0, 33, 16}}}},
        {"ampersand prefix", "a&amp;b", {0, 0, 200, 100}, 24, 16, {{"a&b", {1, 0, 25, 16}}}},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, TrailingSpaces) {
    const LayoutCase cases[] = {
        {"one trailing space does not count", "ab ", {0, 0, 200, 100}, 16, 16, {{"ab ", {1, 0, 25, 16}}}},
        {"a further space does",
         "ab  ",
         {0, 0, 200, 100},
         24,
         16,
         {{"ab ", {1, 0, 25, 16}}, {" ", {25, 0, 33, 16}}}},
        {"a trailing nbsp does", "ab&nbsp;", {0, 0, 200, 100}, 24, 16, {{"ab ", {1, 0, 25, 16}}}},
        {"a space before a break",
         "ab <BR>c",
         {0, 0, 200, 100},
         16,
         32,
         {{"ab ", {1, 0, 25, 16}}, {"c", {1, 16, 9, 32}}}},
        {"a space before a tag and a run",
         "ab <B>c",
         {0, 0, 200, 100},
         32,
         16,
         {{"ab ", {1, 0, 25, 16}}, {"c", {25, 0, 33, 16}}}},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, AlignmentAndIndent) {
    const LayoutCase cases[] = {
        // Line width 100; "x" leaves 92 pixels, half of them go left.
        {"centre persists",
         "<P align=\"center\">x<BR>y",
         {0, 0, 101, 100},
         8,
         32,
         {{"x", {47, 0, 55, 16}}, {"y", {47, 16, 55, 32}}}},
        {"right", "<P align=\"right\">abc", {0, 0, 101, 100}, 24, 16, {{"abc", {77, 0, 101, 16}}}},
        {"right without the trailing space",
         "<P align=\"right\">abc ",
         {0, 0, 101, 100},
         24,
         16,
         {{"abc ", {77, 0, 109, 16}}}},
        {"last alignment found wins",
         "<P align=\"leftright center\">x",
         {0, 0, 101, 100},
         8,
         16,
         {{"x", {47, 0, 55, 16}}}},
        {"back to left",
         "<P align=\"right\">a</P><P align=\"left\">b",
         {0, 0, 101, 100},
         8,
         32,
         {{"a", {93, 0, 101, 16}}, {"b", {1, 16, 9, 32}}}},
        {"too wide to centre",
         "<P align=\"center\">abcdefghijkl",
         {0, 0, 81, 100},
         96,
         16,
         {{"abcdefghijkl", {1, 0, 97, 16}}}},
        {"indent applies to later lines",
         "<P indent=\"20\">abc<BR>def",
         {0, 0, 200, 100},
         24,
         32,
         {{"abc", {21, 0, 45, 16}}, {"def", {21, 16, 45, 32}}}},
        // The indent does not narrow the wrapping width: 72 pixels still fit on a line of 80.
        {"indent keeps the wrapping width",
         "<P indent=\"20\">aaaa bbbb",
         {0, 0, 81, 100},
         72,
         16,
         {{"aaaa ", {21, 0, 61, 16}}, {"bbbb", {61, 0, 93, 16}}}},
        {"unreadable indent", "<P indent=\"abc\">x", {0, 0, 200, 100}, 8, 16, {{"x", {1, 0, 9, 16}}}},
        {"indent to a position",
         "a<IN x=\"50\">b",
         {0, 0, 200, 100},
         58,
         16,
         {{"a", {1, 0, 9, 16}}, {"b", {50, 0, 58, 16}}}},
        {"indent to a position behind",
         "abcdefgh<IN x=\"10\">b",
         {0, 0, 200, 100},
         72,
         16,
         {{"abcdefgh", {1, 0, 65, 16}}, {"b", {65, 0, 73, 16}}}},
        {"indent to an unclean position",
         "a<IN x=\"50px\">b",
         {0, 0, 200, 100},
         16,
         16,
         {{"a", {1, 0, 9, 16}}, {"b", {9, 0, 17, 16}}}},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, ScriptsHiddenTextAndLists) {
    const LayoutCase cases[] = {
        // A quarter of the 16-pixel text height.
        {"subscript",
         "a<SUB>2</SUB>",
         {0, 0, 200, 100},
         16,
         20,
         {{"a", {1, 0, 9, 16}}, {"2", {9, 4, 17, 20}}}},
        {"superscript",
         "a<SUP>2</SUP>",
         {0, 0, 200, 100},
         16,
         20,
         {{"a", {1, 4, 9, 20}}, {"2", {9, 0, 17, 16}}}},
        {"both",
         "a<SUP>2</SUP><SUB>3</SUB>",
         {0, 0, 200, 100},
         24,
         24,
         {{"a", {1, 4, 9, 20}}, {"2", {9, 0, 17, 16}}, {"3", {17, 8, 25, 24}}}},
        {"scripts end with the line",
         "<SUB>a<BR>b",
         {0, 0, 200, 100},
         8,
         36,
         {{"a", {1, 4, 9, 20}}, {"b", {1, 20, 9, 36}}}},
        {"hidden", "a<Z>b</Z>c", {0, 0, 200, 100}, 16, 16, {{"a", {1, 0, 9, 16}}, {"c", {9, 0, 17, 16}}}},
        {"unclosed hidden", "a<Z>bc", {0, 0, 200, 100}, 8, 16, {{"a", {1, 0, 9, 16}}}},
        // UL ends its line; LI moves 12 pixels per level, its bullet 12 pixels before the text.
        {"list item",
         "<UL><LI>item",
         {0, 0, 200, 100},
         44,
         32,
         {{"\xB7", {1, 16, 9, 32}}, {"item", {13, 16, 45, 32}}}},
        {"nested list item",
         "<UL><UL><LI>x",
         {0, 0, 200, 100},
         32,
         48,
         {{"o", {13, 32, 21, 48}}, {"x", {25, 32, 33, 48}}}},
        {"second item starts a line",
         "<UL><LI>a<LI>b",
         {0, 0, 200, 100},
         20,
         48,
         {{"\xB7", {1, 16, 9, 32}},
          {"a", {13, 16, 21, 32}},
          {"\xB7", {1, 32, 9, 48}},
          {"b", {13, 32, 21, 48}}}},
        {"end of item ends the line",
         "<UL><LI>a</LI>b</UL>",
         {0, 0, 200, 100},
         20,
         48,
         {{"\xB7", {1, 16, 9, 32}}, {"a", {13, 16, 21, 32}}, {"b", {1, 32, 9, 48}}}},
        {"hidden items have no bullet", "<Z><UL><LI>a", {0, 0, 200, 100}, 12, 32, {}},
        {"rule ends the line",
         "a<HR>b",
         {0, 0, 200, 100},
         8,
         32,
         {{"a", {1, 0, 9, 16}}, {"b", {1, 16, 9, 32}}}},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, LinesBelowTheBoundsAreDropped) {
    const LayoutCase cases[] = {
        // The second line ends at 32; a third would need 48 > 40.
        {"two of four lines",
         "a<BR>b<BR>c<BR>d",
         {0, 0, 200, 40},
         8,
         32,
         {{"a", {1, 0, 9, 16}}, {"b", {1, 16, 9, 32}}}},
        {"exactly fitting",
         "a<BR>b<BR>c",
         {0, 0, 200, 48},
         8,
         48,
         {{"a", {1, 0, 9, 16}}, {"b", {1, 16, 9, 32}}, {"c", {1, 32, 9, 48}}}},
        {"the first line always", "abc<BR>d", {0, 0, 200, 5}, 24, 16, {{"abc", {1, 0, 25, 16}}}},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderLayout, WithoutWordWrapRunsAreCutWithAnEllipsis) {
    struct Case {
        const char* name;
        std::string markup;
        std::vector<Placed> drawn;
        int textHeight;
    };
    // Line width 80 holds "first " (48) but not "second" after it.
    const Case cases[] = {
        {"the rest of the text is dropped",
         "first <B>second</B><BR>third",
         {{"first ", {1, 0, 49, 16}}, {"s...", {49, 0, 81, 16}}},
         16},
        {"a single run is cut and later lines stay",
         "abcdefghijklmnop<BR>next",
         {{"abcdefg...", {1, 0, 81, 16}}, {"next", {1, 16, 33, 32}}},
         32},
        {"no break at spaces", "aaa bbb ccc ddd", {{"aaa bbb...", {1, 0, 81, 16}}}, 16},
        {"a word continued by a tag",
         "first<B>second</B><BR>third",
         {{"first", {1, 0, 41, 16}}, {"se...", {41, 0, 81, 16}}, {"third", {1, 16, 41, 32}}},
         32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.ClearRecords();
        RenderMarkupParams params = Params(c.markup, {0, 0, 81, 100});
        params.wordWrap = false;
        RenderMarkup(params);
        EXPECT_EQ(params.textHeight, c.textHeight);
        const std::vector<DrawRecord> texts = Texts();
        ASSERT_EQ(texts.size(), c.drawn.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].Shown, c.drawn[i].shown);
            EXPECT_EQ(texts[i].Area, c.drawn[i].cell) << c.drawn[i].shown;
            EXPECT_NE(texts[i].Format & DT_END_ELLIPSIS, 0u);
        }
    }
}

TEST_F(RenderLayout, MeasureOnlyMeasuresEveryLineAndDrawsNothing) {
    struct Case {
        std::string markup;
        int textWidth;
        int textHeight;
    };
    const Case cases[] = {
        {"a<BR>b<BR>c<BR>d", 8, 64},
        {"first second third", 48, 48},
        // The list level and the hidden flag carry over from line to line.
        {"<UL><LI>abc", 36, 32},
        {"<Z>aaaaaaaa<BR>bbbbbbbb</Z>c", 8, 32},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        RenderMarkupParams params = Params(c.markup, {0, 0, 81, 40});
        params.measureOnly = true;
        params.hitX = 5;
        params.hitY = 5;
        EXPECT_FALSE(RenderMarkup(params)) << c.markup;
        EXPECT_EQ(params.textWidth, c.textWidth) << c.markup;
        EXPECT_EQ(params.textHeight, c.textHeight) << c.markup;
        EXPECT_TRUE(canvas.Records().empty()) << c.markup;
    }
}

TEST_F(RenderLayout, PlainTextHoldsEachRunOnce) {
    struct Case {
        std::string markup;
        Rect bounds;
        std::string expected;
    };
    const Case cases[] = {
        {"a<BR>b", {0, 0, 200, 100}, "a\rb"},
        {"first second third", {0, 0, 81, 100}, "first second third"},
        {"a<Z>hidden</Z>b", {0, 0, 200, 100}, "ahiddenb"},
        {"x&amp;y&lt;", {0, 0, 200, 100}, "x&&y<"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Draw(c.markup, c.bounds).plainText, c.expected) << c.markup;
    }
}

TEST_F(RenderLayout, LineSpacingAndFlavors) {
    RenderMarkupParams label = Params("a<BR>b");
    label.lineSpacing = 4;
    RenderMarkup(label);
    EXPECT_EQ(label.textHeight, 40);
    // The spacing belongs to the line; the text sits on its bottom.
    EXPECT_EQ(TextRecord("b").Area, (Rect{1, 24, 9, 40}));
    EXPECT_EQ(TextRecord("b").Format, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS);

    canvas.ClearRecords();
    RenderMarkupParams text = Params("a<BR>b");
    text.lineSpacing = 4;
    text.flavor = MarkupFlavor::StaticText;
    RenderMarkup(text);
    EXPECT_EQ(text.textHeight, 32);
    // Drawn with the external leading, the 18-pixel cell sits on the line's bottom.
    EXPECT_EQ(TextRecord("b").Area, (Rect{1, 14, 9, 32}));
    EXPECT_EQ(TextRecord("b").Format, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);

    canvas.ClearRecords();
    RenderMarkupParams hidden = Params("<Z><UL><LI>a");
    hidden.flavor = MarkupFlavor::StaticText;
    RenderMarkup(hidden);
    EXPECT_EQ(canvas.DrawnTexts(), std::vector<std::string>{"\xB7"});
}

} // namespace
} // namespace velmora
