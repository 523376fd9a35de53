// The pixel probes the Qt tests read pictures with, on a picture whose answers are known.
#include "graphics/qt/testing/PixelProbes.h"

#include <gtest/gtest.h>

namespace velmora::testkit {
namespace {

// White 40 x 20 with two red blocks, columns 5-9 rows 2-5 and columns 20-24 rows 10-14, and one blue pixel.
QImage TwoBlocks() {
    QImage image = WhiteImage(40, 20);
    for (const QRect& block : {QRect(5, 2, 5, 4), QRect(20, 10, 5, 5)}) {
        for (int y = block.top(); y <= block.bottom(); ++y) {
            for (int x = block.left(); x <= block.right(); ++x) {
                image.setPixelColor(x, y, Qt::red);
            }
        }
    }
    image.setPixelColor(30, 1, Qt::blue);
    return image;
}

TEST(PixelProbesTest, FindInkAndColours) {
    const QImage image = TwoBlocks();
    EXPECT_EQ(InkBounds(image), (Rect{5, 1, 31, 15}));
    EXPECT_EQ(InkCount(image), 20 + 25 + 1);
    EXPECT_EQ(InkCount(image, Qt::white, {0, 0, 10, 20}), 20);
    EXPECT_EQ(InkBounds(image, Qt::white, {32, 0, 40, 20}), Rect{});
    EXPECT_EQ(CountColor(image, Qt::red), 45);
    EXPECT_EQ(CountColor(image, Qt::red, QRect(0, 0, 7, 20)), 8);
    EXPECT_EQ(ColorBounds(image, Qt::red), QRect(QPoint(5, 2), QPoint(24, 14)));
    EXPECT_EQ(FindColor(image, Qt::red), QPoint(5, 2));
    EXPECT_EQ(FindColor(image, Qt::green), QPoint(-1, -1));
}

TEST(PixelProbesTest, RunsAreSplitByGapsWiderThanAsked) {
    const QImage image = TwoBlocks();
    // Ten columns without red lie between the blocks: the last red column is 9, the next 20.
    EXPECT_EQ(ColorRuns(image, Qt::red), (std::vector<QRect>{QRect(5, 2, 5, 4), QRect(20, 10, 5, 5)}));
    EXPECT_EQ(ColorRuns(image, Qt::red, 11), (std::vector<QRect>{QRect(QPoint(5, 2), QPoint(24, 14))}));
    EXPECT_TRUE(ColorRuns(image, Qt::green).empty());
}

} // namespace
} // namespace velmora::testkit
