#include "graphics/Rect.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(RectTest, IntersectionIsEmptyWhenRectanglesOnlyTouch) {
    struct Case {
        Rect a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}}, // right edge is exclusive
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
        {{-5, -5, 5, 5}, {-10, 0, 0, 10}, {-5, 0, 0, 5}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Intersection(c.a, c.b), c.expected);
        EXPECT_EQ(Intersection(c.b, c.a), c.expected);
    }
}

TEST(RectTest, ContainsExcludesRightAndBottom) {
    const Rect r{10, 20, 30, 40};
    struct Case {
        Point p;
        bool inside;
    };
    const Case cases[] = {
        {{10, 20}, true}, {{29, 39}, true}, {{30, 39}, false}, {{29, 40}, false}, {{9, 25}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.Contains(c.p), c.inside) << c.p.X << "," << c.p.Y;
    }
}

TEST(RectTest, MulDivRoundsHalfAwayFromZeroWithoutOverflow) {
    struct Case {
        std::int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {16, 120, 96, 20}, // an image list image on a 120 dpi device
        {16, 96, 96, 16},
        {10, 144, 96, 15},
        {3, 1, 2, 2},   // 1.5 rounds up
        {-3, 1, 2, -2}, // -1.5 rounds away from zero
        {5, 1, 4, 1},   // 1.25 rounds down
        {2000000000, 2000000000, 2000000000, 2000000000},
        {7, 3, 0, -1},
        {8, -72, 96, -6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

} // namespace
} // namespace velmora
