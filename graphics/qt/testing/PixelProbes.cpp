#include "graphics/qt/testing/PixelProbes.h"

#include <algorithm>
#include <cmath>

namespace velmora::testkit {

namespace {

// Visits, row by row, the pixels of `area` (clipped to the image) that `matches` picks, until `visit`
// returns false.
template <typename Matches, typename Visit>
void ForEachPixel(const QImage& image, QRect area, Matches matches, Visit visit) {
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (matches(x, y) && !visit(x, y)) {
                return;
            }
        }
    }
}

QRect ToQRect(const Rect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

auto IsInk(const QImage& image, QColor background) {
    return [&image, paper = background.rgb()](int x, int y) {
        return image.pixel(x, y) != paper;
    };
}

auto IsColor(const QImage& image, QColor color) {
    return [&image, wanted = color.rgb()](int x, int y) {
        return image.pixelColor(x, y).rgb() == wanted;
    };
}

} // namespace

QImage WhiteImage(int width, int height, int pixelsPerInch) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(pixelsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

Rect InkBounds(const QImage& image, QColor background, const Rect& area) {
    Rect bounds{100000, 100000, -100000, -100000};
    bool any = false;
    ForEachPixel(image, ToQRect(area), IsInk(image, background), [&](int x, int y) {
        any = true;
        bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                  std::max(bounds.Bottom, y + 1)};
        return true;
    });
    return any ? bounds : Rect{};
}

int InkCount(const QImage& image, QColor background, const Rect& area) {
    int count = 0;
    ForEachPixel(image, ToQRect(area), IsInk(image, background), [&](int, int) { return ++count > 0; });
    return count;
}

int CountColor(const QImage& image, QColor color, QRect area) {
    int count = 0;
    ForEachPixel(image, area.isNull() ? image.rect() : area, IsColor(image, color),
                 [&](int, int) { return ++count > 0; });
    return count;
}

QRect ColorBounds(const QImage& image, QColor color) {
    QRect bounds;
    ForEachPixel(image, image.rect(), IsColor(image, color), [&](int x, int y) {
        bounds |= QRect(x, y, 1, 1);
        return true;
    });
    return bounds;
}

QPoint FindColor(const QImage& image, QColor color) {
    QPoint found(-1, -1);
    ForEachPixel(image, image.rect(), IsColor(image, color), [&](int x, int y) {
        found = {x, y};
        return false;
    });
    return found;
}

std::vector<QRect> ColorRuns(const QImage& image, QColor color, int gap) {
    std::vector<QRect> runs;
    int lastColumn = -1000;
    for (int x = 0; x < image.width(); ++x) {
        QRect column;
        ForEachPixel(image, QRect(x, 0, 1, image.height()), IsColor(image, color), [&](int, int y) {
            column |= QRect(x, y, 1, 1);
            return true;
        });
        if (column.isNull()) {
            continue;
        }
        if (runs.empty() || x - lastColumn > gap) {
            runs.push_back(column);
        } else {
            runs.back() |= column;
        }
        lastColumn = x;
    }
    return runs;
}

} // namespace velmora::testkit
