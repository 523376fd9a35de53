#pragma once

#include "graphics/Canvas.h"
#include "graphics/TextLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::testkit {

// Fixed metrics, so that a test can work out every layout number by hand. Whatever the font:
// every character (space, "&" and "." included) is CharWidth pixels wide; a line is Height = Ascent +
// Descent pixels high, plus ExternalLeading with DT_EXTERNALLEADING; tab stops lie every
// 8 * CharWidth pixels from the start of the text.
struct FakeMetrics {
    std::int32_t CharWidth = 8;
    std::int32_t Ascent = 13;
    std::int32_t Descent = 3;
    std::int32_t InternalLeading = 3;
    std::int32_t ExternalLeading = 2;
    std::int32_t PixelsPerInch = 96;
};

enum class DrawKind {
    Text,
    Rectangle,
    FillRect,
    Line,
    Polyline,
    FocusRect,
    ScrollArrow,
    Bitmap,
    StretchBitmap
};

// One drawing call as the fake saw it, with the canvas state at that moment.
struct DrawRecord {
    DrawKind Kind = DrawKind::Text;
    // Text: the text's cell; Line: the pixels' bounding box; Bitmap: where it landed; else the rectangle.
    Rect Area;
    std::vector<Point> Points; // Line: its two ends; Polyline: its points
    std::string Text;          // as passed to DrawText
    std::string Shown;         // as shown: after "&" processing and the end ellipsis
    TextFormat Format = 0;
    Rect Given;                    // the rectangle passed to DrawText
    std::vector<PrefixMark> Marks; // underlined characters, in canvas x
    Point Origin;                  // top-left of the text cell, the point rotation turns about
    Point End;                     // end of the text's top edge after rotation by the escapement
    FontState Font;
    velmora::Brush BrushState;
    velmora::Pen PenState;
    std::optional<Rect> Clip;
    ScrollArrow Arrow = ScrollArrow::Up;
    Size BitmapSize;
};

// A canvas that draws nothing and records every drawing call; measuring calls are only counted.
class FakeCanvas final : public Canvas {
public:
    explicit FakeCanvas(FakeMetrics metrics = {});
    ~FakeCanvas() override = default;

    FontMetrics Metrics() const override;
    Size TextExtent(std::string_view text) const override;
    std::int32_t DrawText(std::string_view text, Rect& rect, TextFormat format) override;
    void Rectangle(const Rect& rect) override;
    void FillRect(const Rect& rect) override;
    void Polyline(std::span<const Point> points) override;
    void DrawFocusRect(const Rect& rect) override;
    void DrawScrollArrow(const Rect& rect, ScrollArrow arrow) override;
    std::int32_t PixelsPerInchX() const override { return pixelsPerInchX_; }
    std::int32_t PixelsPerInchY() const override { return pixelsPerInchY_; }
    void DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) override;
    void StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) override;

    void SetPixelsPerInch(std::int32_t x, std::int32_t y);

    const std::vector<DrawRecord>& Records() const { return records_; }
    std::vector<DrawRecord> RecordsOf(DrawKind kind) const;
    // The shown text of every Text record, in drawing order.
    std::vector<std::string> DrawnTexts() const;
    // TextExtent calls plus DrawText calls with DT_CALCRECT.
    int MeasureCount() const { return measureCount_; }
    // The characters those calls measured, pieces of a laid-out line included.
    std::size_t MeasuredCharacters() const { return measuredCharacters_; }
    void ClearRecords();

protected:
    void DrawPenLine(Point from, Point to) override;

private:
    DrawRecord Record(DrawKind kind, const Rect& area) const;
    TextLine LayOut(std::string_view text, const Rect& rect, TextFormat format) const;
    std::int32_t PieceWidth(std::string_view piece) const;

    FakeMetrics metrics_;
    std::int32_t pixelsPerInchX_;
    std::int32_t pixelsPerInchY_;
    std::vector<DrawRecord> records_;
    mutable int measureCount_ = 0;
    mutable std::size_t measuredCharacters_ = 0;
};

} // namespace velmora::testkit
