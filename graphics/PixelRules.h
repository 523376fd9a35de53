#pragma once

#include "graphics/Canvas.h"
#include "graphics/Rect.h"

#include <vector>

namespace velmora {

// The pixels GDI's Rectangle paints: Fill with the brush first, then Outline with the pen.
struct RectangleAreas {
    Rect Fill;
    std::vector<Rect> Outline;
};

RectangleAreas RectangleAreasFor(const Rect& rect, const Pen& pen);

// The pixels of a one-pixel line from `from` towards `to`, `to` itself left out.
std::vector<Point> LinePixels(Point from, Point to);

} // namespace velmora
