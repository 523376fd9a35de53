#pragma once

#include "graphics/Color.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

// One pixel as 0xAARRGGBB, not premultiplied.
using Argb = std::uint32_t;

constexpr Argb ArgbFromColor(TColor rgb, std::uint8_t alpha = 0xFF) {
    return (static_cast<Argb>(alpha) << 24) | (static_cast<Argb>(RedOf(rgb)) << 16) |
           (static_cast<Argb>(GreenOf(rgb)) << 8) | BlueOf(rgb);
}

constexpr TColor ColorFromArgb(Argb pixel) {
    return RGBColor(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                    static_cast<std::uint8_t>(pixel));
}

constexpr std::uint8_t AlphaOf(Argb pixel) {
    return static_cast<std::uint8_t>(pixel >> 24);
}

// A plain pixel buffer, rows top to bottom without padding.
class Bitmap {
public:
    Bitmap() = default;
    // Negative sizes count as 0.
    Bitmap(std::int32_t width, std::int32_t height, Argb fill = 0);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool IsEmpty() const { return pixels_.empty(); }

    // Reading outside the bitmap gives 0 (transparent); writing there does nothing.
    Argb Pixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, Argb pixel);
    void Fill(Argb pixel);

    std::span<Argb> Row(std::int32_t y);
    std::span<const Argb> Row(std::int32_t y) const;
    std::span<const Argb> Pixels() const { return pixels_; }
    std::span<Argb> Pixels() { return pixels_; }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    bool Inside(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<Argb> pixels_;
};

} // namespace velmora
