#include "graphics/Bitmap.h"

#include <algorithm>

namespace velmora {

Bitmap::Bitmap(std::int32_t width, std::int32_t height, Argb fill) {
    if (width > 0 && height > 0) {
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
}

Argb Bitmap::Pixel(std::int32_t x, std::int32_t y) const {
    if (!Inside(x, y)) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Bitmap::SetPixel(std::int32_t x, std::int32_t y, Argb pixel) {
    if (Inside(x, y)) {
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)] = pixel;
    }
}

void Bitmap::Fill(Argb pixel) {
    std::fill(pixels_.begin(), pixels_.end(), pixel);
}

std::span<Argb> Bitmap::Row(std::int32_t y) {
    if (y < 0 || y >= height_) {
        return {};
    }
    return std::span<Argb>(pixels_).subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                                            static_cast<std::size_t>(width_));
}

std::span<const Argb> Bitmap::Row(std::int32_t y) const {
    if (y < 0 || y >= height_) {
        return {};
    }
    return std::span<const Argb>(pixels_).subspan(
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width_), static_cast<std::size_t>(width_));
}

} // namespace velmora
