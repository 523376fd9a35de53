#include "graphics/testing/FakeCanvas.h"

#include "graphics/PixelRules.h"
#include "text/Utf8Sequences.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::testkit {

FakeCanvas::FakeCanvas(FakeMetrics metrics)
    : metrics_(metrics), pixelsPerInchX_(metrics.PixelsPerInch), pixelsPerInchY_(metrics.PixelsPerInch) {}

FontMetrics FakeCanvas::Metrics() const {
    return {metrics_.Ascent + metrics_.Descent, metrics_.Ascent,          metrics_.Descent,
            metrics_.InternalLeading,           metrics_.ExternalLeading, metrics_.CharWidth};
}

Size FakeCanvas::TextExtent(std::string_view text) const {
    ++measureCount_;
    return {PieceWidth(text), metrics_.Ascent + metrics_.Descent};
}

std::int32_t FakeCanvas::PieceWidth(std::string_view piece) const {
    std::size_t characters = piece.size();
    if (Font().Encoding == TextEncoding::Utf8) {
        characters = 0;
        for (; !piece.empty(); ++characters) {
            piece.remove_prefix(FirstUtf8Character(piece).Length);
        }
    }
    measuredCharacters_ += characters;
    return static_cast<std::int32_t>(characters) * metrics_.CharWidth;
}

TextLine FakeCanvas::LayOut(std::string_view text, const Rect& rect, TextFormat format) const {
    return LayOutTextLine(text, rect, format, Metrics(), Font().Encoding,
                          [this](std::string_view piece) { return PieceWidth(piece); });
}

std::int32_t FakeCanvas::DrawText(std::string_view text, Rect& rect, TextFormat format) {
    if ((format & DT_CALCRECT) != 0) {
        ++measureCount_;
        const Rect extent = MeasureTextLine(text, rect, format, Metrics(), Font().Encoding,
                                            [this](std::string_view piece) { return PieceWidth(piece); });
        rect.Right = extent.Right;
        rect.Bottom = extent.Bottom;
        return extent.Height();
    }
    const TextLine line = LayOut(text, rect, format);
    DrawRecord record = Record(DrawKind::Text, line.Cell);
    record.Text = std::string(text);
    record.Shown = line.Shown;
    record.Format = format;
    record.Given = rect;
    for (const PrefixMark& mark : line.Marks) {
        record.Marks.push_back({line.Cell.Left + mark.Left, line.Cell.Left + mark.Right});
    }
    record.Origin = {line.Cell.Left, line.Cell.Top};
    const double angle = Font().Escapement / 10.0 * std::numbers::pi / 180.0;
    const double width = line.Cell.Width();
    record.End = {record.Origin.X + static_cast<std::int32_t>(std::lround(width * std::cos(angle))),
                  record.Origin.Y - static_cast<std::int32_t>(std::lround(width * std::sin(angle)))};
    records_.push_back(std::move(record));
    return line.Result;
}

void FakeCanvas::Rectangle(const Rect& rect) {
    records_.push_back(Record(DrawKind::Rectangle, rect));
}

void FakeCanvas::FillRect(const Rect& rect) {
    records_.push_back(Record(DrawKind::FillRect, rect));
}

void FakeCanvas::DrawPenLine(Point from, Point to) {
    DrawRecord record = Record(DrawKind::Line, {});
    record.Points = {from, to};
    const std::vector<Point> pixels = LinePixels(from, to);
    if (!pixels.empty()) {
        const auto [minX, maxX] =
            std::minmax_element(pixels.begin(), pixels.end(), [](Point a, Point b) { return a.X < b.X; });
        const auto [minY, maxY] =
            std::minmax_element(pixels.begin(), pixels.end(), [](Point a, Point b) { return a.Y < b.Y; });
        record.Area = {minX->X, minY->Y, maxX->X + 1, maxY->Y + 1};
    }
    records_.push_back(std::move(record));
}

void FakeCanvas::Polyline(std::span<const Point> points) {
    DrawRecord record = Record(DrawKind::Polyline, {});
    record.Points.assign(points.begin(), points.end());
    records_.push_back(std::move(record));
}

void FakeCanvas::DrawFocusRect(const Rect& rect) {
    records_.push_back(Record(DrawKind::FocusRect, rect));
}

void FakeCanvas::DrawScrollArrow(const Rect& rect, ScrollArrow arrow) {
    DrawRecord record = Record(DrawKind::ScrollArrow, rect);
    record.Arrow = arrow;
    records_.push_back(std::move(record));
}

void FakeCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
    DrawRecord record = Record(DrawKind::Bitmap, {x, y, x + bitmap.Width(), y + bitmap.Height()});
    record.BitmapSize = {bitmap.Width(), bitmap.Height()};
    records_.push_back(std::move(record));
}

void FakeCanvas::StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) {
    DrawRecord record = Record(DrawKind::StretchBitmap, target);
    record.BitmapSize = {bitmap.Width(), bitmap.Height()};
    records_.push_back(std::move(record));
}

void FakeCanvas::SetPixelsPerInch(std::int32_t x, std::int32_t y) {
    pixelsPerInchX_ = x;
    pixelsPerInchY_ = y;
}

std::vector<DrawRecord> FakeCanvas::RecordsOf(DrawKind kind) const {
    std::vector<DrawRecord> result;
    std::copy_if(records_.begin(), records_.end(), std::back_inserter(result),
                 [kind](const DrawRecord& record) { return record.Kind == kind; });
    return result;
}

std::vector<std::string> FakeCanvas::DrawnTexts() const {
    std::vector<std::string> texts;
    for (const DrawRecord& record : records_) {
        if (record.Kind == DrawKind::Text) {
            texts.push_back(record.Shown);
        }
    }
    return texts;
}

void FakeCanvas::ClearRecords() {
    records_.clear();
    measureCount_ = 0;
    measuredCharacters_ = 0;
}

DrawRecord FakeCanvas::Record(DrawKind kind, const Rect& area) const {
    DrawRecord record;
    record.Kind = kind;
    record.Area = area;
    record.Font = Font();
    record.BrushState = CurrentBrush();
    record.PenState = CurrentPen();
    record.Clip = ClipRect();
    return record;
}

} // namespace velmora::testkit
