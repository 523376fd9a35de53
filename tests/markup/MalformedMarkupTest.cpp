#include "RenderFixture.h"
#include "markup/PlainText.h"

#include <string>

namespace velmora {
namespace {

class MalformedMarkup : public RenderFixture {};

TEST_F(MalformedMarkup, DrawsWhatCanBeReadAndStops) {
    struct Case {
        std::string markup;
        std::string placement;
    };
    const Case cases[] = {
        {"<", ""},
        {"a<", "a@1,0"},
        {"a<b", "a@1,0"},
        {"a</", "a@1,0"},
        {"a</B", "a@1,0"},
        {"a<B>b<", "a@1,0 b@9,0"},
        {"a<FONT color=\"", "a@1,0"},
        {"a<FONT color=\"#\" size=\"\">b", "a@1,0 b@9,0"},
        {"a<P align=\"\" indent=\"\">b", "a@1,0 b@9,0"},
        {"<A href=\"unclosed>x", "x@1,0"},
        {"<A>x</A>", "x@1,0"},
        {"a<>b", "a@1,0 b@9,0"},
        {"a<<<>b>c", "a@1,0 b>c@9,0"},
        {"&amp", "amp@1,0"},
        {"<#", "#@1,0"},
        {"<Z>", ""},
        {"</Z></UL></A></FONT></HI></R></SUB>x</P>y", "x@1,0 y@1,16"},
        {"</Z></Z></UL></UL></A></A></FONT></HI></P></R></SUB>x", "x@1,16"}, // /P ends even an empty line
        {"<UL><LI>x</UL></UL></UL>y<LI>z", "\xB7@1,16 x@13,16 y@21,16 o@-11,32 z@1,32"},
        {"<UL><UL><UL><LI>x</UL></UL></UL></UL>y", "\xB7@25,48 x@37,48 y@45,48"},
        {"<SUB><SUP><SH><E>x", "x@1,4 x@1,4"}, // the shadow and the text, lowered and raised alike
        // Positions from markup are held within the coordinate limit; unclean ones are ignored.
        {"<P indent=\"2147483647\">x", "x@16777216,0"},
        {"<P indent=\"-99999999999\">x", "x@-16777216,0"},
        {"<P indent=\"-2147483648\">x", "x@-16777216,0"},
        {"<P indent=\"99999999999999999999\">x", "x@16777216,0"},
        {"<P align=\"right\" indent=\"2147483000\">x", "x@16777216,0"},
        {"<IN x=\"99999999999\">x", "x@1,0"},
        {"<IN x=\"2147483647\">x", "x@1,16"}, // beyond the line: the run starts the next one
    };
    for (const Case& c : cases) {
        const MarkupCall params = Draw(c.markup);
        EXPECT_EQ(Placement(), c.placement) << c.markup;
        EXPECT_GE(params.Result.TextHeight, 16) << c.markup;
    }
    Draw("<R a=\"2147483647\">x<FONT size=\"2147483647\">y");
    EXPECT_EQ(TextRecord("x").Font.Escapement, 1270); // 2147483647 degrees turn like 127
    EXPECT_EQ(TextRecord("y").Font.Size, kMarkupMaxPointSize);
}

TEST_F(MalformedMarkup, EveryModeEndsOnHostileInput) {
    // Pieces that open tags, entities and quotes in every order; each call must end, and the
    // sanitizer build checks that no byte outside the text is read.
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
    std::string hostile;
    unsigned state = 7;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245u + 12345u;
        hostile += pieces[(state >> 16) % std::size(pieces)];
    }
    // With room for every line, measuring, hit-testing and drawing agree on the layout.
    std::string layouts[3];
    for (int mode = 0; mode < 3; ++mode) {
        MarkupCall params = Params(hostile, {0, 0, 120, 1 << 24});
        params.Request.MeasureOnly = mode == 0;
        params.Request.NoDraw = mode == 1;
        params.Run();
        layouts[mode] = std::to_string(params.Result.TextWidth) + "x" +
                        std::to_string(params.Result.TextHeight) + "/" +
                        std::to_string(params.Result.AnchorCount) + " " + params.Result.PlainText;
    }
    EXPECT_EQ(layouts[1], layouts[0]);
    EXPECT_EQ(layouts[2], layouts[0]);
    for (int mode = 0; mode < 8; ++mode) {
        MarkupCall params = Params(hostile, {0, 0, 60 + mode * 20, 400});
        params.Request.NoDraw = (mode & 1) != 0;
        params.Request.MeasureOnly = (mode & 2) != 0;
        params.Request.WordWrap = (mode & 4) == 0;
        params.Request.FocusAnchor = 2;
        params.Request.HoverEnabled = true;
        params.Request.HoverAnchor = 3;
        params.Request.HitX = params.Request.HitY = 30;
        params.Run();
        EXPECT_GT(params.Result.TextHeight, 0) << mode;
        EXPECT_GE(params.Result.TextWidth, 0) << mode;
    }
    EXPECT_FALSE(MarkupToPlainText(hostile).empty());
}

} // namespace
} // namespace velmora
