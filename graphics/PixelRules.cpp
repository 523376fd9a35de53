#include "graphics/PixelRules.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {

RectangleAreas RectangleAreasFor(const Rect& rect, const Pen& pen) {
    RectangleAreas areas;
    if (rect.IsEmpty()) {
        return areas;
    }
    if (pen.Style == PenStyle::Clear) {
        areas.Fill = {rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
        return areas;
    }
    areas.Fill = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    // The pen is centred on the outermost rows and columns of the rectangle.
    const std::int32_t width = std::max(1, pen.Width);
    const std::int32_t before = width / 2;
    const std::int32_t left = rect.Left - before;
    const std::int32_t top = rect.Top - before;
    const std::int32_t right = rect.Right - 1 - before + width;
    const std::int32_t bottom = rect.Bottom - 1 - before + width;
    areas.Outline = {
        {left, top, right, top + width},
        {left, bottom - width, right, bottom},
        {left, top, left + width, bottom},
        {right - width, top, right, bottom},
    };
    return areas;
}

std::vector<Point> LinePixels(Point from, Point to) {
    std::vector<Point> pixels;
    const std::int32_t dx = std::abs(to.X - from.X);
    const std::int32_t dy = -std::abs(to.Y - from.Y);
    const std::int32_t stepX = from.X < to.X ? 1 : -1;
    const std::int32_t stepY = from.Y < to.Y ? 1 : -1;
    pixels.reserve(static_cast<std::size_t>(std::max(dx, -dy)));
    std::int32_t error = dx + dy;
    Point p = from;
    while (p != to) {
        pixels.push_back(p);
        const std::int32_t doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            p.X += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            p.Y += stepY;
        }
    }
    return pixels;
}

} // namespace velmora
