#include "controls/Gradient.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Round to nearest with ties to even, as the band arithmetic was first written.
std::int64_t RoundEven(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

void DrawGradient(Canvas& canvas, TColor fromColor, TColor toColor, std::int32_t steps, const Rect& rect,
                  bool horizontal) {
    if (steps <= 0) {
        steps = 1;
    }
    const TColor from = ColorToRGB(fromColor);
    const TColor to = ColorToRGB(toColor);
    const double dR = (RedOf(to) - RedOf(from)) / static_cast<double>(steps);
    const double dG = (GreenOf(to) - GreenOf(from)) / static_cast<double>(steps);
    const double dB = (BlueOf(to) - BlueOf(from)) / static_cast<double>(steps);
    const double extent = horizontal ? static_cast<double>(rect.Right) - rect.Left
                                     : static_cast<double>(rect.Bottom) - rect.Top;
    const double band = extent / steps;
    const std::int64_t bandWidth = static_cast<std::int64_t>(std::trunc(band)) + 1;

    for (std::int32_t i = 0; i < steps; ++i) {
        const auto red = static_cast<std::uint8_t>(RoundEven(i * dR) + RedOf(from));
        const auto green = static_cast<std::uint8_t>(RoundEven(i * dG) + GreenOf(from));
        const auto blue = static_cast<std::uint8_t>(RoundEven(i * dB) + BlueOf(from));
        const TColor color = RGBColor(red, green, blue);
        canvas.SetPenColor(color);
        canvas.SetBrushColor(color);
        const std::int64_t offset = RoundEven(i * band);
        if (horizontal) {
            const std::int64_t x1 = rect.Left + offset;
            const std::int64_t x2 = std::min<std::int64_t>(x1 + bandWidth, rect.Right);
            canvas.Rectangle({Clamped(x1), rect.Top, Clamped(x2), rect.Bottom});
        } else {
            const std::int64_t y1 = rect.Top + offset;
            const std::int64_t y2 = std::min<std::int64_t>(y1 + bandWidth, rect.Bottom);
            canvas.Rectangle({rect.Left, Clamped(y1), rect.Right, Clamped(y2)});
        }
    }
}

} // namespace velmora
