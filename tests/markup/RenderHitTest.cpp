#include "RenderFixture.h"

#include <string>

namespace velmora {
namespace {

constexpr Rect kNone{-1, -1, -1, -1};

struct HitCase {
    std::string markup;
    int right; // of the bounds (0, 0, right, 100)
    int x;
    int y;
    bool hit;
    std::string href; // checked when hit
    int number;
    Rect rect;
};

class RenderHit : public RenderFixture {
protected:
    void Check(const HitCase& c) {
        MarkupCall params = Params(c.markup, {0, 0, c.right, 100});
        params.Request.NoDraw = true;
        params.Request.HitX = c.x;
        params.Request.HitY = c.y;
        const bool hit = params.Run();
        const std::string where = c.markup + " at " + std::to_string(c.x) + "," + std::to_string(c.y);
        EXPECT_EQ(hit, c.hit) << where;
        if (c.hit) {
            EXPECT_EQ(params.Result.HitAnchor, c.href) << where;
        }
        EXPECT_EQ(params.Result.HitAnchorNumber, c.number) << where;
        EXPECT_EQ(params.Result.HitAnchorRect, c.rect) << where;
    }
};

TEST_F(RenderHit, TextAnchors) {
    // "one" spans 1-25, the space 25-33, "two" 33-57; on the second line "three" spans 9-49.
    const std::string m = "<A href=\"1\">one</A> <A href=\"2\">two</A><BR>x<A href=\"3\">three</A>";
    const HitCase cases[] = {
        {m, 200, 41, 8, true, "2", 2, {33, 0, 57, 16}},
        {m, 200, 1, 8, true, "1", 1, {1, 0, 25, 16}},
        {m, 200, 29, 8, false, "", -1, kNone},
        {m, 200, 120, 8, false, "", -1, kNone},
        {m, 200, 20, 20, true, "3", 3, {9, 16, 49, 32}},
        {m, 200, 5, 20, false, "", -1, kNone}, // plain text under the first anchor
        {m, 200, 5, 0, false, "", -1, kNone},  // the band's top edge
        {m, 200, 20, 40, false, "", -1, kNone},
    };
    for (const HitCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderHit, AlignedWrappedAndScriptedAnchors) {
    const std::string right = "<P align=\"right\">text <A href=\"r\">end</A>";
    const std::string wrapped = "<A href=\"x\">aaaa bbbb</A>";
    const HitCase cases[] = {
        // The line "text end" (64 pixels) moves to 37; "end" is drawn from 77 to 101.
        {right, 101, 90, 8, true, "r", 1, {77, 0, 101, 16}},
        {right, 101, 45, 8, false, "", -1, kNone},
        {"<P indent=\"30\"><A href=\"i\">ab</A>", 101, 40, 8, true, "i", 1, {31, 0, 47, 16}},
        {"<P align=\"center\"><A href=\"c\">ab</A>", 101, 50, 8, true, "c", 1, {43, 0, 59, 16}},
        // Broken after "aaaa ": the rectangle is the part on the line where the anchor ends.
        {wrapped, 51, 10, 8, true, "x", 1, {1, 16, 33, 32}},
        {wrapped, 51, 10, 20, true, "x", 1, {1, 16, 33, 32}},
        {"a<SUB><A href=\"s\">b</A>", 200, 12, 18, true, "s", 1, {9, 0, 17, 16}},
        {"a<SUB><A href=\"s\">b</A>", 200, 12, 10, true, "s", 1, {9, 0, 17, 16}},
    };
    for (const HitCase& c : cases) {
        Check(c);
    }
}

TEST_F(RenderHit, OnlyHitTestsFindText) {
    MarkupCall painting = Params("<A href=\"1\">one</A>");
    painting.Request.HitX = 5;
    painting.Request.HitY = 8;
    EXPECT_FALSE(painting.Run());
    EXPECT_EQ(painting.Result.AnchorCount, 1);

    MarkupCall plain = Params("plain");
    plain.Request.NoDraw = true;
    plain.Result.HitAnchor = "earlier";
    plain.Result.HitAnchorNumber = 4;
    plain.Result.HitAnchorRect = {1, 2, 3, 4};
    EXPECT_FALSE(plain.Run());
    EXPECT_EQ(plain.Result.HitAnchor, "earlier"); // left for the caller, who reads it only after a hit
    EXPECT_EQ(plain.Result.HitAnchorNumber, -1);
    EXPECT_EQ(plain.Result.HitAnchorRect, kNone);
}

} // namespace
} // namespace velmora
