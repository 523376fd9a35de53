#include "graphics/qt/QtCanvas.h"

#include "graphics/PixelRules.h"
#include "graphics/TextLayout.h"
#include "graphics/Windows1252.h"
#include "graphics/qt/QtConversions.h"
#include "graphics/qt/QtFonts.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace velmora {

namespace {

constexpr std::size_t kFontCacheLimit = 32;

// A view of the bitmap's pixels without copying them; valid while the bitmap is.
QImage ImageView(const Bitmap& bitmap) {
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels().data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_ARGB32);
}

} // namespace

QtCanvas::QtCanvas(QPainter& painter, const QStyle* style) : painter_(painter), style_(style) {
    if (painter_.hasClipping()) {
        clip_ = FromQRect(painter_.clipBoundingRect().toAlignedRect());
    }
}

const QtCanvas::ResolvedFont& QtCanvas::Resolved() const {
    const int pixelsPerInch = PixelsPerInchY();
    const auto matches = [&](const ResolvedFont& font) {
        return font.PixelsPerInch == pixelsPerInch && font.State == font_;
    };
    if (lastFont_ < fonts_.size() && matches(fonts_[lastFont_])) {
        return fonts_[lastFont_];
    }
    const auto found = std::find_if(fonts_.begin(), fonts_.end(), matches);
    if (found != fonts_.end()) {
        lastFont_ = static_cast<std::size_t>(found - fonts_.begin());
        return *found;
    }
    if (fonts_.size() >= kFontCacheLimit) {
        fonts_.clear();
    }
    const QFont font = ToQFont(font_, pixelsPerInch);
    fonts_.push_back({font_, pixelsPerInch, font, QFontMetrics(font), IsSymbolFont(font_)});
    lastFont_ = fonts_.size() - 1;
    return fonts_.back();
}

QString QtCanvas::Decode(std::string_view text, const ResolvedFont& font) const {
    if (!font.Symbol) {
        return FromWindows1252(text);
    }
    const std::u16string utf16 = DecodeSymbolFont(text);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

std::int32_t QtCanvas::Advance(std::string_view text, const ResolvedFont& font) const {
    return font.Metrics.horizontalAdvance(Decode(text, font));
}

FontMetrics QtCanvas::Metrics() const {
    const ResolvedFont& font = Resolved();
    const QFontMetrics& qt = font.Metrics;
    FontMetrics metrics;
    metrics.Ascent = qt.ascent();
    metrics.Descent = qt.descent();
    metrics.Height = metrics.Ascent + metrics.Descent;
    metrics.InternalLeading = std::max(0, metrics.Height - font.Font.pixelSize());
    metrics.ExternalLeading = std::max(0, qt.leading());
    metrics.AverageCharWidth = qt.averageCharWidth();
    return metrics;
}

Size QtCanvas::TextExtent(std::string_view text) const {
    const ResolvedFont& font = Resolved();
    return {Advance(text, font), font.Metrics.ascent() + font.Metrics.descent()};
}

std::int32_t QtCanvas::DrawText(std::string_view text, Rect& rect, TextFormat format) {
    const ResolvedFont& font = Resolved();
    const TextLine line = LayOutTextLine(text, rect, format, Metrics(),
                                         [&](std::string_view piece) { return Advance(piece, font); });
    if ((format & DT_CALCRECT) != 0) {
        rect.Right = line.Cell.Right;
        rect.Bottom = line.Cell.Bottom;
        return line.Result;
    }

    painter_.save();
    // Rotated text leaves its rectangle by nature; clipping it there would hide it.
    const bool rotated = font_.Escapement % 3600 != 0;
    if ((format & DT_NOCLIP) == 0 && !rotated) {
        painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
    }
    painter_.translate(line.Cell.Left, line.Cell.Top);
    if (rotated) {
        painter_.rotate(-font_.Escapement / 10.0);
    }
    if (brush_.Style == BrushStyle::Solid) {
        painter_.fillRect(QRect(0, 0, line.Cell.Width(), line.Cell.Height()), ToQColor(brush_.Color));
    }
    const QColor color = ToQColor(font_.Color);
    const int baseline = line.Baseline - line.Cell.Top;
    painter_.setFont(font.Font);
    painter_.setPen(color);
    for (const TextPiece& piece : line.Pieces) {
        if (!piece.Text.empty()) {
            painter_.drawText(QPoint(piece.X, baseline), Decode(piece.Text, font));
        }
    }
    const int thickness = std::max(1, font.Metrics.lineWidth());
    for (const PrefixMark& mark : line.Marks) {
        painter_.fillRect(
            QRect(mark.Left, baseline + font.Metrics.underlinePos(), mark.Right - mark.Left, thickness),
            color);
    }
    painter_.restore();
    return line.Result;
}

void QtCanvas::Rectangle(const Rect& rect) {
    const RectangleAreas areas = RectangleAreasFor(rect, pen_);
    if (brush_.Style == BrushStyle::Solid && !areas.Fill.IsEmpty()) {
        painter_.fillRect(ToQRect(areas.Fill), ToQColor(brush_.Color));
    }
    const QColor penColor = ToQColor(pen_.Color);
    for (const Rect& edge : areas.Outline) {
        painter_.fillRect(ToQRect(edge), penColor);
    }
}

void QtCanvas::FillRect(const Rect& rect) {
    if (brush_.Style == BrushStyle::Solid && !rect.IsEmpty()) {
        painter_.fillRect(ToQRect(rect), ToQColor(brush_.Color));
    }
}

void QtCanvas::LineTo(std::int32_t x, std::int32_t y) {
    const Point from = penPos_;
    const Point to{x, y};
    penPos_ = to;
    if (pen_.Style == PenStyle::Clear || from == to) {
        return;
    }
    const QColor color = ToQColor(pen_.Color);
    if (pen_.Width > 1) {
        painter_.setPen(QPen(color, pen_.Width, Qt::SolidLine, Qt::RoundCap));
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

const QStyle* QtCanvas::Style() const {
    if (style_ != nullptr) {
        return style_;
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr ? QApplication::style()
                                                                                : nullptr;
}

void QtCanvas::DrawFocusRect(const Rect& rect) {
    if (const QStyle* style = Style()) {
        QStyleOptionFocusRect option;
        option.rect = ToQRect(rect);
        option.state = QStyle::State_Enabled | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        option.palette = QApplication::palette();
        option.backgroundColor = brush_.Style == BrushStyle::Solid ? ToQColor(brush_.Color)
                                                                   : option.palette.color(QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter_);
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
    const QStyle* style = Style();
    if (style == nullptr) {
        Canvas::DrawScrollArrow(rect, arrow);
        return;
    }
    QStyleOption option;
    option.rect = ToQRect(rect);
    option.state = QStyle::State_Enabled;
    option.palette = QApplication::palette();
    painter_.fillRect(option.rect, option.palette.color(QPalette::Button));
    style->drawPrimitive(arrow == ScrollArrow::Up ? QStyle::PE_IndicatorArrowUp
                                                  : QStyle::PE_IndicatorArrowDown,
                         &option, &painter_);
}

void QtCanvas::SetClipRect(std::optional<Rect> clip) {
    clip_ = clip;
    if (clip) {
        painter_.setClipRect(ToQRect(*clip));
    } else {
        painter_.setClipping(false);
    }
}

std::int32_t QtCanvas::PixelsPerInchX() const {
    return painter_.device()->logicalDpiX();
}

std::int32_t QtCanvas::PixelsPerInchY() const {
    return painter_.device()->logicalDpiY();
}

void QtCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
    if (!bitmap.IsEmpty()) {
        painter_.drawImage(QPoint(x, y), ImageView(bitmap));
    }
}

void QtCanvas::StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) {
    if (!bitmap.IsEmpty() && !target.IsEmpty()) {
        painter_.drawImage(ToQRect(target), ImageView(bitmap));
    }
}

} // namespace velmora
