#include "graphics/qt/QtCanvas.h"

#include "graphics/PixelRules.h"
#include "graphics/TextLayout.h"
#include "graphics/qt/QtConversions.h"
#include "text/Utf8Sequences.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// A view of the bitmap's pixels without copying them; valid while the bitmap is.
QImage ImageView(const Bitmap& bitmap) {
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels().data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_ARGB32);
}

int UnderlineOffset(const QtFontFace& face) {
    return std::max(1, static_cast<int>(std::lround(face.Raw.underlinePosition())));
}

int StrikeOutOffset(const QtFontFace& face) {
    return -static_cast<int>(std::lround(face.Raw.xHeight() / 2));
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

// A line of the font's thickness, `offset` pixels below the baseline at `origin`.
QRect DecorationLine(const QtFontFace& face, QPointF origin, std::int32_t width, int offset) {
    const int thickness = std::max(1, static_cast<int>(std::lround(face.Raw.lineThickness())));
    return QRect(static_cast<int>(origin.x()), static_cast<int>(origin.y()) + offset, width, thickness);
}

std::optional<Rect> PainterClip(const QPainter& painter) {
    if (!painter.hasClipping()) {
        return std::nullopt;
    }
    return FromQRect(painter.clipBoundingRect().toAlignedRect());
}

} // namespace

QtCanvas::QtCanvas(QPainter& painter, const QStyle* style)
    : Canvas(PainterClip(painter)), painter_(painter), style_(style) {}

void QtCanvas::StateChanged(StatePart part) {
    if (part == StatePart::Font) {
        face_.reset();
    } else if (part == StatePart::Clip) {
        DrawHeldText();
        if (const std::optional<Rect> clip = ClipRect()) {
            painter_.setClipRect(ToQRect(*clip));
        } else {
            painter_.setClipping(false);
        }
    }
}

const QtFontFace& QtCanvas::Face() const {
    if (!face_) {
        face_ = FaceFor(Font(), PixelsPerInchY());
    }
    return *face_;
}

FontMetrics QtCanvas::Metrics() const {
    return Face().Metrics;
}

Size QtCanvas::TextExtent(std::string_view text) const {
    const QtFontFace& face = Face();
    return {Width(face, text), face.Metrics.Height};
}

std::int32_t QtCanvas::TextHeight(std::string_view) const {
    return Face().Metrics.Height;
}

std::int32_t QtCanvas::HoldPiece(std::string_view text, QPointF origin, const QColor& color) {
    if (HasWideCharacters(text, Font().Encoding)) {
        return DrawWidePiece(text, origin, color);
    }
    if (heldFace_ != face_ || heldColor_ != color) {
        DrawHeldText();
        heldFace_ = face_;
        heldColor_ = color;
    }
    const QtFontFace& face = *face_;
    std::int32_t x = 0;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        glyphs_.push_back(face.Glyphs[code]);
        positions_.emplace_back(origin.x() + x, origin.y());
        x += face.Advances[code];
    }
    return x;
}

std::int32_t QtCanvas::DrawWidePiece(std::string_view text, QPointF origin, const QColor& color) {
    DrawHeldText();
    const QtFontFace& face = *face_;
    const QPen pen = painter_.pen();
    painter_.setPen(color);
    painter_.setFont(face.Font);
    std::int32_t x = 0;
    while (!text.empty()) {
        const Utf8Character c = FirstUtf8Character(text);
        painter_.drawText(QPointF(origin.x() + x, origin.y()), QString::fromUcs4(&c.Code, 1));
        x += c.Code < 0x80 ? face.Advances[c.Code] : face.Advance(c.Code);
        text.remove_prefix(c.Length);
    }
    painter_.setPen(pen);
    return x;
}

void QtCanvas::DrawHeldText() {
    if (glyphs_.empty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(heldFace_->Raw);
    run.setRawData(glyphs_.data(), positions_.data(), static_cast<int>(glyphs_.size()));
    const QPen pen = painter_.pen();
    painter_.setPen(heldColor_);
    painter_.drawGlyphRun(QPointF(0, 0), run);
    painter_.setPen(pen);
    glyphs_.clear();
    positions_.clear();
}

void QtCanvas::EndTextBatch() {
    if (--textBatches_ == 0) {
        DrawHeldText();
    }
}

bool QtCanvas::InkInside(const QtFontFace& face, const TextLine& line, const Rect& rect) const {
    if (!Contains(rect, line.Cell)) {
        return false;
    }
    for (const TextPiece& piece : line.Pieces) {
        if (!PieceInside(face, piece.Text, {line.Cell.Left + piece.X, line.Baseline}, rect)) {
            return false;
        }
    }
    // Prefix marks lie under characters that are in the cell, on the underline's line.
    return line.Marks.empty() || PieceInside(face, {}, {line.Cell.Left, line.Baseline}, rect);
}

bool QtCanvas::PieceInside(const QtFontFace& face, std::string_view text, Point origin,
                           const Rect& rect) const {
    // The table knows no ink of characters beyond it: such a piece is clipped, to be safe.
    if (HasWideCharacters(text, Font().Encoding)) {
        return false;
    }
    std::int64_t x = origin.X;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        const QtFontFace::Ink& ink = face.Inks[code];
        if (ink.Left < ink.Right && (x + ink.Left < rect.Left || x + ink.Right > rect.Right ||
                                     origin.Y + ink.Top < rect.Top || origin.Y + ink.Bottom > rect.Bottom)) {
            return false;
        }
        x += face.Advances[code];
    }
    if (Font().Underline || Font().StrikeOut || text.empty()) {
        const QRect under = DecorationLine(face, QPointF(origin.X, origin.Y), 0, UnderlineOffset(face));
        const QRect strike = DecorationLine(face, QPointF(origin.X, origin.Y), 0, StrikeOutOffset(face));
        if (strike.top() < rect.Top || under.top() + under.height() > rect.Bottom) {
            return false;
        }
    }
    return true;
}

std::int32_t QtCanvas::DrawText(std::string_view text, Rect& rect, TextFormat format) {
    const QtFontFace& face = Face();
    const auto measure = [this, &face](std::string_view piece) {
        return Width(face, piece);
    };
    if ((format & DT_CALCRECT) != 0) {
        const Rect extent = MeasureTextLine(text, rect, format, face.Metrics, Font().Encoding, measure);
        rect.Right = extent.Right;
        rect.Bottom = extent.Bottom;
        return extent.Height();
    }
    const std::int32_t width = ShowsAsWritten(text, format) ? Width(face, text) : -1;
    if (width >= 0 && ((format & DT_END_ELLIPSIS) == 0 || width <= rect.Width())) {
        // Most runs are plain words: one piece, placed without building a whole layout.
        const TextPlacement place = PlaceTextLine(rect, format, face.Metrics, width);
        plainLine_.Cell = place.Cell;
        plainLine_.Baseline = place.Baseline;
        plainLine_.Result = place.Result;
        plainLine_.Pieces.resize(1);
        plainLine_.Pieces.front().Text.assign(text);
        return DrawTextLine(face, plainLine_, rect, format);
    }
    return DrawTextLine(face, LayOutTextLine(text, rect, format, face.Metrics, Font().Encoding, measure),
                        rect, format);
}

std::int32_t QtCanvas::DrawTextLine(const QtFontFace& face, const TextLine& line, const Rect& rect,
                                    TextFormat format) {
    const QColor color = ToQColor(Font().Color);
    // Rotated text leaves its rectangle by nature; clipping it there would hide it.
    const bool rotated = Font().Escapement % 3600 != 0;
    if (!rotated && ((format & DT_NOCLIP) != 0 || InkInside(face, line, rect))) {
        // Nothing would be cut: the painter's state need not change, and the run may wait for others.
        DrawLine(face, line, {line.Cell.Left, line.Cell.Top}, color, textBatches_ > 0);
        return line.Result;
    }
    DrawHeldText();
    painter_.save();
    if ((format & DT_NOCLIP) == 0 && !rotated) {
        painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
    }
    painter_.translate(line.Cell.Left, line.Cell.Top);
    if (rotated) {
        painter_.rotate(-Font().Escapement / 10.0);
    }
    DrawLine(face, line, {0, 0}, color, false);
    painter_.restore();
    return line.Result;
}

void QtCanvas::DrawLine(const QtFontFace& face, const TextLine& line, Point cellOrigin, const QColor& color,
                        bool mayHold) {
    if (CurrentBrush().Style == BrushStyle::Solid) {
        DrawHeldText();
        painter_.fillRect(QRect(cellOrigin.X, cellOrigin.Y, line.Cell.Width(), line.Cell.Height()),
                          ToQColor(CurrentBrush().Color));
    }
    const int baseline = cellOrigin.Y + line.Baseline - line.Cell.Top;
    for (const TextPiece& piece : line.Pieces) {
        if (piece.Text.empty()) {
            continue;
        }
        const QPointF origin(cellOrigin.X + piece.X, baseline);
        const std::int32_t width = HoldPiece(piece.Text, origin, color);
        // Lines drawn here rather than by the glyph run, whose decorations do not always start at its
        // origin; they go over the glyphs.
        if (Font().Underline || Font().StrikeOut) {
            DrawHeldText();
        }
        if (Font().Underline) {
            painter_.fillRect(DecorationLine(face, origin, width, UnderlineOffset(face)), color);
        }
        if (Font().StrikeOut) {
            painter_.fillRect(DecorationLine(face, origin, width, StrikeOutOffset(face)), color);
        }
    }
    if (!line.Marks.empty() || !mayHold) {
        DrawHeldText();
    }
    for (const PrefixMark& mark : line.Marks) {
        painter_.fillRect(DecorationLine(face, QPointF(cellOrigin.X + mark.Left, baseline),
                                         mark.Right - mark.Left, UnderlineOffset(face)),
                          color);
    }
}

void QtCanvas::Rectangle(const Rect& rect) {
    DrawHeldText();
    const RectangleAreas areas = RectangleAreasFor(rect, CurrentPen());
    if (CurrentBrush().Style == BrushStyle::Solid && !areas.Fill.IsEmpty()) {
        painter_.fillRect(ToQRect(areas.Fill), ToQColor(CurrentBrush().Color));
    }
    const QColor penColor = ToQColor(CurrentPen().Color);
    for (const Rect& edge : areas.Outline) {
        painter_.fillRect(ToQRect(edge), penColor);
    }
}

void QtCanvas::FillRect(const Rect& rect) {
    DrawHeldText();
    if (CurrentBrush().Style == BrushStyle::Solid && !rect.IsEmpty()) {
        painter_.fillRect(ToQRect(rect), ToQColor(CurrentBrush().Color));
    }
}

void QtCanvas::DrawPenLine(Point from, Point to) {
    if (CurrentPen().Style == PenStyle::Clear || from == to) {
        return;
    }
    DrawHeldText();
    const QColor color = ToQColor(CurrentPen().Color);
    if (CurrentPen().Width > 1) {
        painter_.setPen(QPen(color, CurrentPen().Width, Qt::SolidLine, Qt::RoundCap));
        painter_.drawLine(from.X, from.Y, to.X, to.Y);
        return;
    }
    if (from.Y == to.Y) {
        const std::int32_t left = from.X < to.X ? from.X : to.X + 1;
        painter_.fillRect(QRect(left, from.Y, std::abs(to.X - from.X), 1), color);
    } else if (from.X == to.X) {
        const std::int32_t top = from.Y < to.Y ? from.Y : to.Y + 1;
        painter_.fillRect(QRect(from.X, top, 1, std::abs(to.Y - from.Y)), color);
    } else {
        for (const Point& p : LinePixels(from, to)) {
            painter_.fillRect(QRect(p.X, p.Y, 1, 1), color);
        }
    }
}

void QtCanvas::DrawFocusRect(const Rect& rect) {
    DrawHeldText();
    if (style_ != nullptr) {
        QStyleOptionFocusRect option;
        option.rect = ToQRect(rect);
        option.state = QStyle::State_Enabled | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        option.palette = QGuiApplication::palette();
        option.backgroundColor = CurrentBrush().Style == BrushStyle::Solid
                                     ? ToQColor(CurrentBrush().Color)
                                     : option.palette.color(QPalette::Window);
        style_->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter_);
        return;
    }
    // GDI's frame: every other pixel of the border inverted.
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (std::int32_t px = rect.Left; px < rect.Right; ++px) {
        for (const std::int32_t py : {rect.Top, rect.Bottom - 1}) {
            if ((px + py) % 2 == 0) {
                painter_.fillRect(QRect(px, py, 1, 1), Qt::white);
            }
        }
    }
    for (std::int32_t py = rect.Top + 1; py < rect.Bottom - 1; ++py) {
        for (const std::int32_t px : {rect.Left, rect.Right - 1}) {
            if ((px + py) % 2 == 0) {
                painter_.fillRect(QRect(px, py, 1, 1), Qt::white);
            }
        }
    }
    painter_.restore();
}

void QtCanvas::DrawScrollArrow(const Rect& rect, ScrollArrow arrow) {
    if (style_ == nullptr) {
        Canvas::DrawScrollArrow(rect, arrow);
        return;
    }
    DrawHeldText();
    QStyleOption option;
    option.rect = ToQRect(rect);
    option.state = QStyle::State_Enabled;
    option.palette = QGuiApplication::palette();
    painter_.fillRect(option.rect, option.palette.color(QPalette::Button));
    style_->drawPrimitive(arrow == ScrollArrow::Up ? QStyle::PE_IndicatorArrowUp
                                                   : QStyle::PE_IndicatorArrowDown,
                          &option, &painter_);
}

std::int32_t QtCanvas::PixelsPerInchX() const {
    return painter_.device()->logicalDpiX();
}

std::int32_t QtCanvas::PixelsPerInchY() const {
    return painter_.device()->logicalDpiY();
}

void QtCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
    DrawHeldText();
    if (!bitmap.IsEmpty()) {
        painter_.drawImage(QPoint(x, y), ImageView(bitmap));
    }
}

void QtCanvas::StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) {
    DrawHeldText();
    if (!bitmap.IsEmpty() && !target.IsEmpty()) {
        painter_.drawImage(ToQRect(target), ImageView(bitmap));
    }
}

} // namespace velmora
