#include "graphics/win32/testing/GdiSurface.h"

#include "graphics/win32/GdiHeaders.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora::testkit {

GdiSurface::GdiSurface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc_ == nullptr || section_ == nullptr) {
        ADD_FAILURE() << "GDI gave no memory DC or DIB section of " << width << " x " << height;
        return;
    }
    bits_ = static_cast<const std::uint32_t*>(bits);
    previous_ = SelectObject(dc_, section_);
    std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * height, 0x00FFFFFFu);
}

GdiSurface::~GdiSurface() {
    if (dc_ != nullptr) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (section_ != nullptr) {
        DeleteObject(section_);
    }
}

TColor GdiSurface::Pixel(int x, int y) const {
    GdiFlush();
    return Raw(x, y);
}

TColor GdiSurface::Raw(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return clWhite;
    }
    const std::uint32_t pixel = bits_[static_cast<std::size_t>(y) * width_ + x];
    return RGBColor(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                    static_cast<std::uint8_t>(pixel));
}

std::vector<TColor> GdiSurface::Pixels() const {
    GdiFlush();
    std::vector<TColor> pixels;
    pixels.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            pixels.push_back(Raw(x, y));
        }
    }
    return pixels;
}

template <typename Matches> Rect GdiSurface::Bounds(const Rect& area, Matches matches) const {
    GdiFlush();
    const Rect inside = Intersection(area, {0, 0, width_, height_});
    Rect bounds{};
    bool any = false;
    for (int y = inside.Top; y < inside.Bottom; ++y) {
        for (int x = inside.Left; x < inside.Right; ++x) {
            if (!matches(Raw(x, y))) {
                continue;
            }
            bounds = any ? Rect{std::min(bounds.Left, x), std::min(bounds.Top, y),
                                std::max(bounds.Right, x + 1), std::max(bounds.Bottom, y + 1)}
                         : Rect{x, y, x + 1, y + 1};
            any = true;
        }
    }
    return bounds;
}

template <typename Matches> int GdiSurface::Count(const Rect& area, Matches matches) const {
    GdiFlush();
    const Rect inside = Intersection(area, {0, 0, width_, height_});
    int count = 0;
    for (int y = inside.Top; y < inside.Bottom; ++y) {
        for (int x = inside.Left; x < inside.Right; ++x) {
            count += matches(Raw(x, y)) ? 1 : 0;
        }
    }
    return count;
}

Rect GdiSurface::InkBounds(TColor paper, const Rect& area) const {
    return Bounds(area, [paper](TColor pixel) { return pixel != paper; });
}

int GdiSurface::InkCount(TColor paper, const Rect& area) const {
    return Count(area, [paper](TColor pixel) { return pixel != paper; });
}

int GdiSurface::CountColor(TColor color, const Rect& area) const {
    return Count(area, [color](TColor pixel) { return pixel == color; });
}

Rect GdiSurface::ColorBounds(TColor color, const Rect& area) const {
    return Bounds(area, [color](TColor pixel) { return pixel == color; });
}

bool AddPrivateFont(const std::string& path) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return AddFontResourceExW(wide.c_str(), FR_PRIVATE, nullptr) > 0;
}

std::string TestFontFamily() {
    static const bool loaded = [] {
        bool all = true;
        for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                 "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"}) {
            const std::string path = std::string(VELMORA_TEST_FONT_DIR) + "/" + file;
            const bool added = AddPrivateFont(path);
            EXPECT_TRUE(added) << "GDI cannot load " << path;
            all = all && added;
        }
        return all;
    }();
    EXPECT_TRUE(loaded);
    return "Liberation Sans";
}

} // namespace velmora::testkit
