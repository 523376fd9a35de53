#include "graphics/PixelRules.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(PixelRulesTest, RectangleOutlinesInsideTheRightAndBottomEdges) {
    struct Case {
        const char* name;
        Rect rect;
        Pen pen;
        Rect fill;
        std::vector<Rect> outline;
    };
    const Case cases[] = {
        {"one pixel pen",
         {0, 0, 10, 5},
         {clBlack, 1, PenStyle::Solid},
         {1, 1, 9, 4},
         {{0, 0, 10, 1}, {0, 4, 10, 5}, {0, 0, 1, 5}, {9, 0, 10, 5}}},
        {"width 0 draws as 1",
         {2, 2, 4, 4},
         {clBlack, 0, PenStyle::Solid},
         {3, 3, 3, 3},
         {{2, 2, 4, 3}, {2, 3, 4, 4}, {2, 2, 3, 4}, {3, 2, 4, 4}}},
        {"three pixel pen is centred",
         {10, 10, 20, 20},
         {clBlack, 3, PenStyle::Solid},
         {11, 11, 19, 19},
         {{9, 9, 21, 12}, {9, 18, 21, 21}, {9, 9, 12, 21}, {18, 9, 21, 21}}},
        {"two pixel pen leans outwards",
         {10, 10, 20, 20},
         {clBlack, 2, PenStyle::Solid},
         {11, 11, 19, 19},
         {{9, 9, 20, 11}, {9, 18, 20, 20}, {9, 9, 11, 20}, {18, 9, 20, 20}}},
        {"clear pen fills one pixel less", {0, 0, 10, 5}, {clBlack, 1, PenStyle::Clear}, {0, 0, 9, 4}, {}},
        {"empty rectangle", {5, 5, 5, 9}, {clBlack, 1, PenStyle::Solid}, {}, {}},
    };
    for (const Case& c : cases) {
        const RectangleAreas areas = RectangleAreasFor(c.rect, c.pen);
        EXPECT_EQ(areas.Fill, c.fill) << c.name;
        EXPECT_EQ(areas.Outline, c.outline) << c.name;
    }
}

TEST(PixelRulesTest, LinesLeaveOutTheirLastPoint) {
    struct Case {
        Point from, to;
        std::vector<Point> pixels;
    };
    const Case cases[] = {
        {{0, 0}, {3, 0}, {{0, 0}, {1, 0}, {2, 0}}},
        {{3, 0}, {0, 0}, {{3, 0}, {2, 0}, {1, 0}}},
        {{1, 5}, {1, 2}, {{1, 5}, {1, 4}, {1, 3}}},
        {{0, 0}, {2, 2}, {{0, 0}, {1, 1}}}, // one zigzag stroke of the error underline
        {{2, 2}, {4, 0}, {{2, 2}, {3, 1}}},
        {{0, 0}, {6, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        {{7, 7}, {7, 7}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinePixels(c.from, c.to), c.pixels)
            << c.from.X << "," << c.from.Y << " to " << c.to.X << "," << c.to.Y;
    }
}

} // namespace
} // namespace velmora
