#include "RenderFixture.h"

#include <string>

namespace velmora {
namespace {

class RenderHit : public RenderFixture {
protected:
    struct Outcome {
        bool hit;
        std::string href;
        int number;
        Rect rect;
    };

    Outcome HitAt(const std::string& markup, Rect bounds, int x, int y) {
        RenderMarkupParams params = Params(markup, bounds);
        params.noDraw = true;
        params.hitX = x;
        params.hitY = y;
        const bool hit = RenderMarkup(params);
        return {hit, params.hitAnchor, params.hitAnchorNumber, params.hitAnchorRect};
    }
};

constexpr Rect None{-1, -1, -1, -1};

TEST_F(RenderHit, TextAnchors) {
    // "one" spans 1-25, the space 25-33, "two" 33-57, "three" on the second line 1-41.
    const std::string twoAnchors = "<A href=\"1\">one</A> <A href=\"2\">two</A><BR>x<A href=\"3\">three</A>";
    struct Case {
        const char* name;
        int x;
        int y;
        bool hit;
        std::string href;
        int number;
        Rect rect;
    };
    const Case cases[] = {
        {"on the second anchor", 41, 8, true, "2", 2, {33, 0, 57, 16}},
        {"on the first anchor", 5, 8, true, "1", 1, {1, 0, 25, 16}},
        {"left edge of the first anchor", 1, 8, true, "1", 1, {1, 0, 25, 16}},
        {"on the space between", 29, 8, false, "", -1, None},
        {"right of the text", 120, 8, false, "", -1, None},
        {"on the second line", 20, 20, true, "3", 3, {9, 16, 49, 32}},
        {"under the first line's anchor, on plain text", 5, 20, false, "", -1, None},
        {"on the line's top edge", 5, 0, false, "", -1, None},
        {"below every line", 20, 40, false, "3", -1, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = HitAt(twoAnchors, {0, 0, 200, 100}, c.x, c.y);
        EXPECT_EQ(outcome.hit, c.hit);
        if (c.hit) {
            EXPECT_EQ(outcome.href, c.href);
        }
        EXPECT_EQ(outcome.number, c.number);
        EXPECT_EQ(outcome.rect, c.rect);
    }
}

TEST_F(RenderHit, AlignedAndWrappedAnchors) {
    struct Case {
        const char* name;
        std::string markup;
        Rect bounds;
        int x;
        int y;
        bool hit;
        int number;
        Rect rect;
    };
    const Case cases[] = {
        // The line "text end" (64 pixels) is moved to 37; "end" is drawn from 77 to 101.
        {"right-aligned anchor at the line's end",
         "<P align=\"right\">text <A href=\"r\">end</A>",
         {0, 0, 101, 100},
         90,
         8,
         true,
         1,
         {77, 0, 101, 16}},
        {"right-aligned text where the anchor would be unaligned",
         "<P align=\"right\">text <A href=\"r\">end</A>",
         {0, 0, 101, 100},
         45,
         8,
         false,
         -1,
         None},
        {"indented anchor",
         "<P indent=\"30\"><A href=\"i\">ab</A>",
         {0, 0, 101, 100},
         40,
         8,
         true,
         1,
         {31, 0, 47, 16}},
        {"centred anchor",
         "<P align=\"center\"><A href=\"c\">ab</A>",
         {0, 0, 101, 100},
         50,
         8,
         true,
         1,
         {43, 0, 59, 16}},
        // Broken after "aaaa ": the rectangle is the part on the line where the anchor ends.
        {"anchor over two lines, hit on the first",
         "<A href=\"x\">aaaa bbbb</A>",
         {0, 0, 51, 100},
         10,
         8,
         true,
         1,
         {1, 16, 33, 32}},
        {"anchor over two lines, hit on the second",
         "<A href=\"x\">aaaa bbbb</A>",
         {0, 0, 51, 100},
         10,
         20,
         true,
         1,
         {1, 16, 33, 32}},
        {"subscripted anchor",
         "a<SUB><A href=\"s\">b</A>",
         {0, 0, 200, 100},
         12,
         10,
         true,
         1,
         {9, 0, 17, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = HitAt(c.markup, c.bounds, c.x, c.y);
        EXPECT_EQ(outcome.hit, c.hit);
        EXPECT_EQ(outcome.number, c.number);
        EXPECT_EQ(outcome.rect, c.rect);
    }
}

TEST_F(RenderHit, PaintingDoesNotHitText) {
    RenderMarkupParams params = Params("<A href=\"1\">one</A>");
    params.hitX = 5;
    params.hitY = 8;
    EXPECT_FALSE(RenderMarkup(params));
    EXPECT_EQ(params.anchorCount, 1);
}

TEST_F(RenderHit, HitAnchorIsNotClearedAtEntry) {
    RenderMarkupParams params = Params("plain");
    params.noDraw = true;
    params.hitAnchor = "earlier";
    params.hitAnchorNumber = 4;
    params.hitAnchorRect = {1, 2, 3, 4};
    EXPECT_FALSE(RenderMarkup(params));
    EXPECT_EQ(params.hitAnchor, "earlier");
    EXPECT_EQ(params.hitAnchorNumber, -1);
    EXPECT_EQ(params.hitAnchorRect, None);
}

} // namespace
} // namespace velmora
