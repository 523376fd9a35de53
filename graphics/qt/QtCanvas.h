#pragma once

#include "graphics/Canvas.h"
#include "graphics/TextLayout.h"
#include "graphics/qt/QtFontFace.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QStyle;

namespace velmora {

// Canvas on an active QPainter: a QImage for tools and tests, a widget in its paint event.
//
// The painter belongs to the caller, must stay active while the canvas lives and is left with the
// clip rectangle the canvas last set. `style` (a widget's style(), which outlives the canvas) draws
// focus frames and scroll arrows; without one they are drawn as GDI draws them: a dotted frame that
// inverts what it covers, and a flat button with a black arrow.
class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(QPainter& painter, const QStyle* style = nullptr);
    ~QtCanvas() override = default;

    void BeginTextBatch() override { ++textBatches_; }
    void EndTextBatch() override;

    FontMetrics Metrics() const override;
    Size TextExtent(std::string_view text) const override;
    std::int32_t TextHeight(std::string_view text) const override;
    std::int32_t DrawText(std::string_view text, Rect& rect, TextFormat format) override;
    void Rectangle(const Rect& rect) override;
    void FillRect(const Rect& rect) override;
    void DrawFocusRect(const Rect& rect) override;
    void DrawScrollArrow(const Rect& rect, ScrollArrow arrow) override;
    std::int32_t PixelsPerInchX() const override;
    std::int32_t PixelsPerInchY() const override;
    void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) override;
    void StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) override;

    // The Qt font the current font state draws with.
    QFont CurrentQFont() const { return Face().Font; }

protected:
    void StateChanged(StatePart part) override;
    void DrawPenLine(Point from, Point to) override;

private:
    const QtFontFace& Face() const;
    // Adds the piece's glyphs to the held run, drawing first what was held in another face or colour;
    // returns the piece's width.
    std::int32_t HoldPiece(std::string_view text, QPointF origin, const QColor& color);
    // Draws a piece with characters beyond the glyph table one character at a time, each where the
    // widths put it, in the font Qt falls back to where the face lacks it; returns the piece's width.
    std::int32_t DrawWidePiece(std::string_view text, QPointF origin, const QColor& color);
    std::int32_t Width(const QtFontFace& face, std::string_view text) const {
        return Font().Encoding == TextEncoding::Utf8 ? face.Utf8Width(text) : face.Width(text);
    }
    void DrawHeldText();
    std::int32_t DrawTextLine(const QtFontFace& face, const TextLine& line, const Rect& rect,
                              TextFormat format);
    void DrawLine(const QtFontFace& face, const TextLine& line, Point cellOrigin, const QColor& color,
                  bool mayHold);
    // Whether every pixel the line touches lies in rect, so that clipping to it would change nothing.
    bool InkInside(const QtFontFace& face, const TextLine& line, const Rect& rect) const;
    bool PieceInside(const QtFontFace& face, std::string_view text, Point origin, const Rect& rect) const;

    QPainter& painter_;
    const QStyle* style_;
    mutable std::shared_ptr<const QtFontFace> face_; // of Font(), found when first needed
    int textBatches_ = 0;
    // Glyphs not drawn yet, all of one face and colour, placed in device coordinates; the buffers are
    // reused from run to run.
    std::shared_ptr<const QtFontFace> heldFace_;
    QColor heldColor_;
    std::vector<quint32> glyphs_;
    std::vector<QPointF> positions_;
    TextLine plainLine_;
};

} // namespace velmora
