#include "RenderFixture.h"
#include "markup/PlainText.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

class MalformedMarkup : public RenderFixture {};

TEST_F(MalformedMarkup, DrawsWhatCanBeReadAndStops) {
    struct Case {
        std::string markup;
        std::vector<std::string> drawn;
    };
    const Case cases[] = {
        {"<", {}},
        {"a<", {"a"}},
        {"a<b", {"a"}},
        {"a</", {"a"}},
        {"a</B", {"a"}},
        {"a<B>b<", {"a", "b"}},
        {"a<FONT color=\"", {"a"}},
        {"a<FONT color=\"#\">b", {"a", "b"}},
        {"a<FONT size=\"\">b", {"a", "b"}},
        {"a<P align=\"\" indent=\"\">b", {"a", "b"}},
        {"<A href=\"unclosed>x", {"x"}},
        {"<A>x</A>", {"x"}},
        {"a<>b", {"a", "b"}},
        {"a<<<>b", {"a", "b"}},
        {"a>b", {"a>b"}},
        {"&amp", {"amp"}},
        {"<#", {"#"}},
        {"<Z>", {}},
        {"</Z></Z></UL></UL></A></A></FONT></HI></P></R></SUB>x", {"x"}},
        {"<UL><UL><UL><LI>x</UL></UL></UL></UL>y", {"\xB7", "x", "y"}},
        {"<SUB><SUP><SH><E>x", {"x", "x"}},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        RenderMarkupParams params = Draw(c.markup);
        EXPECT_EQ(canvas.DrawnTexts(), c.drawn) << c.markup;
        EXPECT_GE(params.textHeight, LineHeight) << c.markup;
    }
}

TEST_F(MalformedMarkup, HugeNumbersStayInRange) {
    struct Case {
        std::string markup;
        int left; // where "x" is drawn
    };
    constexpr int Limit = MarkupCoordinateLimit;
    const Case cases[] = {
        {"<P indent=\"2147483647\">x", Limit},
        {"<P indent=\"-2147483648\">x", -Limit},
        {"<P indent=\"99999999999999999999\">x", Limit},
        {"<IN x=\"2147483647\">x", 1},  // beyond the line: the run starts the next one
        {"<IN x=\"99999999999\">x", 1}, // not a clean integer: ignored
        {"<P align=\"right\" indent=\"2147483000\">x", Limit},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        Draw(c.markup);
        const std::vector<testing::DrawRecord> texts = Texts();
        ASSERT_EQ(texts.size(), 1u) << c.markup;
        EXPECT_EQ(texts[0].Given.Left, c.left) << c.markup;
    }

    canvas.ClearRecords();
    Draw("<R a=\"2147483647\">x<FONT size=\"2147483647\">y");
    EXPECT_EQ(TextRecord("x").Font.Escapement, 1270); // 2147483647 degrees is 127 degrees
    EXPECT_EQ(TextRecord("y").Font.Size, MarkupMaxPointSize);
}

TEST_F(MalformedMarkup, EveryModeEndsOnHostileInput) {
    // Bytes that open tags, entities and quotes in every order; each call must end and stay in bounds
    // (the sanitizer build checks every read).
    std::string hostile;
    const char* const pieces[] = {"<",
                                  "</",
                                  "<L",
                                  "<LI>",
                                  "<UL>",
                                  "<A href=\"",
                                  "\"",
                                  ">",
                                  "&",
                                  "&nbsp;",
                                  "&amp;",
                                  " ",
                                  "<BR>",
                                  "<Z>",
                                  "<IN x=\"9\">",
                                  "<P align=\"right\">",
                                  "<SUB>",
                                  "\r",
                                  "\n",
                                  "<#",
                                  "x",
                                  "<IMG align=\"top\">",
                                  "<R a=\"45\">",
                                  "</R>",
                                  "\xFF",
                                  "\x80"};
    unsigned state = 7;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245u + 12345u;
        hostile += pieces[(state >> 16) % std::size(pieces)];
    }
    for (int mode = 0; mode < 8; ++mode) {
        canvas.ClearRecords();
        RenderMarkupParams params = Params(hostile, {0, 0, 60 + mode * 20, 400});
        params.noDraw = (mode & 1) != 0;
        params.measureOnly = (mode & 2) != 0;
        params.wordWrap = (mode & 4) == 0;
        params.focusAnchor = 2;
        params.hoverEnabled = true;
        params.hoverAnchor = 3;
        params.hitX = 30;
        params.hitY = 30;
        RenderMarkup(params);
        EXPECT_GT(params.textHeight, 0) << mode;
        EXPECT_GE(params.textWidth, 0) << mode;
    }
    EXPECT_FALSE(MarkupToPlainText(hostile).empty());
}

} // namespace
} // namespace velmora
