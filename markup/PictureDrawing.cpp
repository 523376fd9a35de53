#include "markup/PictureDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

void StretchBitmapToCanvas(Canvas& canvas, const Rect& rect, const Bitmap& bitmap) {
    Bitmap opaque = bitmap;
    for (Argb& pixel : opaque.Pixels()) {
        pixel |= 0xFF000000u;
    }
    canvas.StretchDrawBitmap(rect, opaque);
}

Bitmap OnWhite(const Bitmap& bitmap) {
    Bitmap paper = bitmap;
    for (Argb& pixel : paper.Pixels()) {
        const std::uint32_t alpha = AlphaOf(pixel);
        const auto blend = [alpha](std::uint32_t channel) {
            return (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
        };
        pixel = 0xFF000000u | blend((pixel >> 16) & 0xFFu) << 16 | blend((pixel >> 8) & 0xFFu) << 8 |
                blend(pixel & 0xFFu);
    }
    return paper;
}

std::int32_t RoundHalfEven(double value) {
    // nearbyint rounds half to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    return static_cast<std::int32_t>(std::clamp(rounded, double{std::numeric_limits<std::int32_t>::min()},
                                                double{std::numeric_limits<std::int32_t>::max()}));
}

Rect ScaledRect(std::int32_t x, std::int32_t y, Size size, double scale) {
    const auto edge = [](std::int32_t start, double length) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{start} + RoundHalfEven(length),
                                                                  std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    return {x, y, edge(x, size.Width * scale), edge(y, size.Height * scale)};
}

void FillGradientBands(Canvas& canvas, TColor from, TColor to, bool horizontal, const Rect& rect,
                       std::int32_t bandCount, TColor frameColor) {
    const std::int32_t count = std::max(1, bandCount);
    const TColor start = ColorToRGB(from);
    const TColor end = ColorToRGB(to);
    const std::int64_t extent =
        horizontal ? std::int64_t{rect.Right} - rect.Left : std::int64_t{rect.Bottom} - rect.Top;
    const double bandSize = static_cast<double>(extent) / count;
    const std::int32_t origin = horizontal ? rect.Left : rect.Top;
    const std::int32_t limit = horizontal ? rect.Right : rect.Bottom;
    const auto channel = [count](std::int32_t i, std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(a + RoundHalfEven(static_cast<double>(i) * (b - a) / count));
    };
    for (std::int32_t i = 0; i < count; ++i) {
        const TColor color =
            RGBColor(channel(i, RedOf(start), RedOf(end)), channel(i, GreenOf(start), GreenOf(end)),
                     channel(i, BlueOf(start), BlueOf(end)));
        canvas.SetPenColor(color);
        canvas.SetBrushColor(color);
        // Band edges are kept as whole coordinates: cutting them to 16 bits would fold bands that lie
        // past 32767 back onto the left of the device.
        const std::int64_t bandStart = std::int64_t{origin} + RoundHalfEven(i * bandSize);
        const std::int64_t bandEnd =
            std::min<std::int64_t>(bandStart + static_cast<std::int64_t>(bandSize) + 1, limit);
        const auto first = static_cast<std::int32_t>(bandStart);
        const auto last = static_cast<std::int32_t>(bandEnd);
        canvas.Rectangle(horizontal ? Rect{first, rect.Top, last, rect.Bottom}
                                    : Rect{rect.Left, first, rect.Right, last});
    }
    if (frameColor != clNone) {
        canvas.SetBrushColor(clNone);
        canvas.SetPenColor(frameColor);
        canvas.Rectangle(rect);
    }
}

} // namespace velmora
