#pragma once

#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

// The handles as <windows.h> declares them, under its names.
// NOLINTBEGIN(bugprone-reserved-identifier)
struct HDC__;
struct HBITMAP__;
// NOLINTEND(bugprone-reserved-identifier)

namespace velmora::testkit {

// A white picture that GDI draws on as on a window: a 32-bit top-down DIB section selected into a
// memory device context, with probes that read what a person would see in it.
class GdiSurface {
public:
    GdiSurface(int width, int height);
    ~GdiSurface();
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    HDC__* Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // White outside the picture. Reading flushes what GDI still holds back.
    TColor Pixel(int x, int y) const;
    std::vector<TColor> Pixels() const;

    // Ink is every pixel of the area that differs from the paper colour; InkBounds is the smallest
    // rectangle holding it, empty when there is none.
    Rect InkBounds(TColor paper = clWhite, const Rect& area = kEverywhere) const;
    int InkCount(TColor paper = clWhite, const Rect& area = kEverywhere) const;
    // Pixels of exactly this colour.
    int CountColor(TColor color, const Rect& area = kEverywhere) const;
    Rect ColorBounds(TColor color, const Rect& area = kEverywhere) const;

    static constexpr Rect kEverywhere{0, 0, 100000, 100000};

private:
    TColor Raw(int x, int y) const;
    template <typename Matches> Rect Bounds(const Rect& area, Matches matches) const;
    template <typename Matches> int Count(const Rect& area, Matches matches) const;

    int width_;
    int height_;
    HDC__* dc_ = nullptr;
    HBITMAP__* section_ = nullptr;
    void* previous_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
};

// The font family the GDI tests draw with, loaded for this process only from the files of the build's
// test font folder (Liberation Sans: regular, bold, italic, bold italic); fails the test when GDI cannot
// load one.
std::string TestFontFamily();

// Loads one font file for this process only (AddFontResourceExW with FR_PRIVATE); false when GDI
// refuses it. Paths are UTF-8 in Windows form.
bool AddPrivateFont(const std::string& path);

} // namespace velmora::testkit
