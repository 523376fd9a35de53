#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "graphics/TextFormat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velmora {

enum class BrushStyle : std::uint8_t { Solid, Clear };

struct Brush {
    TColor Color = clWhite;
    BrushStyle Style = BrushStyle::Solid;

    friend bool operator==(const Brush&, const Brush&) = default;
};

enum class PenStyle : std::uint8_t { Solid, Clear };

struct Pen {
    TColor Color = clBlack;
    std::int32_t Width = 1; // 0 draws as 1, as GDI does
    PenStyle Style = PenStyle::Solid;

    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class ScrollArrow : std::uint8_t { Up, Down };

// The drawing surface that markup, pictures and controls draw on, in device pixels.
//
// Whoever creates a canvas owns it (a paint handler, a tool, a test) and keeps it alive for every call
// it is handed to; callees never keep a canvas past the call and never delete it, hence the protected
// destructor. Strings and bitmaps passed in are read during the call only. Colours may be system
// colours: implementations resolve them with ColorToRGB when they draw.
//
// Text is Windows-1252 bytes, or UTF-8 when the font's Encoding says so; widths, ellipses and "&"
// marks then take whole characters, and a byte that starts no valid sequence draws as U+FFFD.
//
// A new canvas has the default FontState, a solid white brush, a solid black pen of width 1 at (0, 0)
// and the clip rectangle its maker hands over (none unless its device already clips).
//
// The font, brush, pen, pen position and clip are kept here, once, and read back from here: a canvas
// reads them as it draws, and learns of a change through StateChanged where it must select the new
// value into its device. Lines are drawn through DrawPenLine with both ends, so no device keeps a pen
// position of its own.
class Canvas {
public:
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    const FontState& Font() const { return font_; }
    void SetFont(const FontState& font);
    virtual FontMetrics Metrics() const = 0;

    // A solid brush fills shapes and paints the background of text; a clear one leaves both transparent.
    const Brush& CurrentBrush() const { return brush_; }
    void SetBrush(const Brush& brush);
    const Pen& CurrentPen() const { return pen_; }
    void SetPen(const Pen& pen);

    // GetTextExtentPoint32: no prefix processing, no tab expansion; Height is the font height.
    virtual Size TextExtent(std::string_view text) const = 0;

    // DrawTextExA on one line: the format flags of TextFormat.h. DT_CALCRECT draws nothing and sets
    // rect.Right and rect.Bottom to the text's extent (with DT_END_ELLIPSIS never wider than rect).
    // Without DT_NOCLIP drawing is clipped to rect. The text is drawn in the font colour over a
    // background in the brush colour unless the brush is clear. A rotated font turns the text about the
    // top-left corner of its cell. Returns the text height, or with DT_BOTTOM or DT_VCENTER the offset
    // from rect.Top to the bottom of the text.
    virtual std::int32_t DrawText(std::string_view text, Rect& rect, TextFormat format) = 0;

    // GDI Rectangle: outlined with the pen (centred on the edge pixels), filled with the brush, right
    // and bottom edges excluded; with a clear pen the fill is one pixel smaller on both.
    virtual void Rectangle(const Rect& rect) = 0;
    // Fills with the brush, right and bottom excluded; a clear brush fills nothing.
    virtual void FillRect(const Rect& rect) = 0;
    // Lines leave out their last point, as GDI's do.
    void MoveTo(std::int32_t x, std::int32_t y) { penPos_ = {x, y}; }
    void LineTo(std::int32_t x, std::int32_t y);
    Point PenPos() const { return penPos_; }
    // Connected lines, last point not drawn; the pen position is neither used nor changed.
    virtual void Polyline(std::span<const Point> points);
    // The dotted frame that marks keyboard focus.
    virtual void DrawFocusRect(const Rect& rect) = 0;
    // A small flat scroll button with an arrow, filling rect.
    virtual void DrawScrollArrow(const Rect& rect, ScrollArrow arrow);

    // Nothing means drawing is not clipped.
    std::optional<Rect> ClipRect() const { return clip_; }
    void SetClipRect(std::optional<Rect> clip);

    virtual std::int32_t PixelsPerInchX() const = 0;
    virtual std::int32_t PixelsPerInchY() const = 0;

    // Pixels are blended by their alpha.
    virtual void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) = 0;
    virtual void StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) = 0;

    std::int32_t TextWidth(std::string_view text) const { return TextExtent(text).Width; }
    // The height alone, which canvases may find without measuring the width.
    virtual std::int32_t TextHeight(std::string_view text) const { return TextExtent(text).Height; }

    // While a batch is open a canvas may hold text runs back and draw several as one, so that drawing
    // word by word costs little. Held runs reach the device before anything else is drawn, when the clip
    // changes and when the outermost batch ends, so the order of pixels never changes.
    virtual void BeginTextBatch() {}
    virtual void EndTextBatch() {}

    // clNone clears the brush, so that text and shapes leave what lies under them showing; any other
    // colour makes the brush solid again, whatever style it had.
    void SetBrushColor(TColor color);
    TColor BrushColor() const { return CurrentBrush().Color; }
    // The brush colour, or clNone when the brush is clear.
    TColor TextBackground() const;
    void SetPenColor(TColor color);
    void SetPenWidth(std::int32_t width);
    void SetFontColor(TColor color);
    void IntersectClipRect(const Rect& rect);

protected:
    // What StateChanged reports.
    enum class StatePart : std::uint8_t { Font, Brush, Pen, Clip };

    explicit Canvas(std::optional<Rect> clip = std::nullopt) : clip_(clip) {}
    virtual ~Canvas() = default;

    // Called after the stored state changed: Font when anything but its colour changed (the colour is
    // read as text is drawn), Brush and Pen when they changed, Clip on every SetClipRect, so that drawing
    // held back reaches the device before the clip moves.
    virtual void StateChanged(StatePart /*part*/) {}
    // Draws the pen's line from one end to the other, the last point left out.
    virtual void DrawPenLine(Point from, Point to) = 0;

private:
    FontState font_;
    Brush brush_;
    Pen pen_;
    Point penPos_;
    std::optional<Rect> clip_;
};

// Restores the clip rectangle it found when it goes out of scope.
class ClipScope {
public:
    explicit ClipScope(Canvas& canvas) : canvas_(canvas), saved_(canvas.ClipRect()) {}
    ~ClipScope() { canvas_.SetClipRect(saved_); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    Canvas& canvas_;
    std::optional<Rect> saved_;
};

// Keeps a text batch open while it lives.
class TextBatch {
public:
    explicit TextBatch(Canvas& canvas) : canvas_(canvas) { canvas_.BeginTextBatch(); }
    ~TextBatch() { canvas_.EndTextBatch(); }
    TextBatch(const TextBatch&) = delete;
    TextBatch& operator=(const TextBatch&) = delete;

private:
    Canvas& canvas_;
};

} // namespace velmora
