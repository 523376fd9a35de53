#pragma once

#include "graphics/Canvas.h"

#include <memory>
#include <optional>
#include <string>

// The handles as <windows.h> declares them, under its names, so that this header does not bring its
// macros along.
// NOLINTBEGIN(bugprone-reserved-identifier)
struct HDC__;
struct HFONT__;
struct HPEN__;
struct HBRUSH__;
// NOLINTEND(bugprone-reserved-identifier)

namespace velmora {

// Canvas on a GDI device context: a window's in its paint message, a memory DC for tools and tests.
//
// The device context belongs to the caller and must outlive the canvas, which selects its own font,
// pen, brush and clip region into it and gives it back as it came (SaveDC / RestoreDC). Text goes
// to GDI as UTF-16: the engine's Windows-1252 bytes are converted here, so that they show the same
// characters whatever the ANSI code page of the Windows they run on.
class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HDC__* dc);
    ~GdiCanvas() override;

    FontMetrics Metrics() const override;
    Size TextExtent(std::string_view text) const override;
    std::int32_t DrawText(std::string_view text, Rect& rect, TextFormat format) override;
    void Rectangle(const Rect& rect) override;
    void FillRect(const Rect& rect) override;
    void Polyline(std::span<const Point> points) override;
    void DrawFocusRect(const Rect& rect) override;
    void DrawScrollArrow(const Rect& rect, ScrollArrow arrow) override;
    std::int32_t PixelsPerInchX() const override;
    std::int32_t PixelsPerInchY() const override;
    void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) override;
    void StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) override;

protected:
    void StateChanged(StatePart part) override;
    void DrawPenLine(Point from, Point to) override;

private:
    struct ObjectDeleter {
        void operator()(HFONT__* font) const;
        void operator()(HPEN__* pen) const;
        void operator()(HBRUSH__* brush) const;
    };
    template <class Handle> using Owned = std::unique_ptr<Handle, ObjectDeleter>;

    void SelectFont();
    void SelectPen();
    void SelectBrush();
    void SelectClip();
    // Sets the device's text colour and background from the font and the brush.
    void PrepareText();
    void Blend(const Rect& target, const Bitmap& bitmap);

    HDC__* dc_;
    int savedState_;
    Owned<HFONT__> gdiFont_;
    Owned<HPEN__> gdiPen_;
    Owned<HBRUSH__> gdiBrush_;
};

} // namespace velmora
