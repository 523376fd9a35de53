#pragma once

#include "graphics/Rect.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace velmora::testkit {

// A white image at 96 pixels per inch.
QImage WhiteImage(int width, int height, int pixelsPerInch = 96);

// Ink is every pixel that differs from the background.
// The smallest rectangle holding the ink; empty when there is none.
Rect InkBounds(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});
int InkCount(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});

// Pixels of exactly this colour, and the smallest rectangle holding them (empty when none).
int CountColor(const QImage& image, QColor color, QRect area = {});
QRect ColorBounds(const QImage& image, QColor color);
// The first pixel of exactly this colour, scanning rows from the top; (-1, -1) when none.
QPoint FindColor(const QImage& image, QColor color);
// Groups of pixels of this colour separated by at least `gap` columns without it, left to right.
std::vector<QRect> ColorRuns(const QImage& image, QColor color, int gap = 4);

} // namespace velmora::testkit
