#include "graphics/Canvas.h"

namespace velmora {

void Canvas::SetFont(const FontState& font) {
    FontState sameColor = font;
    sameColor.Color = font_.Color;
    const bool otherFace = sameColor != font_;
    font_ = font;
    if (otherFace) {
        StateChanged(StatePart::Font);
    }
}

void Canvas::SetBrush(const Brush& brush) {
    if (brush != brush_) {
        brush_ = brush;
        StateChanged(StatePart::Brush);
    }
}

void Canvas::SetPen(const Pen& pen) {
    if (pen != pen_) {
        pen_ = pen;
        StateChanged(StatePart::Pen);
    }
}

void Canvas::LineTo(std::int32_t x, std::int32_t y) {
    const Point from = penPos_;
    penPos_ = {x, y};
    DrawPenLine(from, penPos_);
}

void Canvas::SetClipRect(std::optional<Rect> clip) {
    clip_ = clip;
    StateChanged(StatePart::Clip);
}

void Canvas::Polyline(std::span<const Point> points) {
    if (points.empty()) {
        return;
    }
    const Point saved = PenPos();
    MoveTo(points.front().X, points.front().Y);
    for (const Point& p : points.subspan(1)) {
        LineTo(p.X, p.Y);
    }
    MoveTo(saved.X, saved.Y);
}

void Canvas::DrawScrollArrow(const Rect& rect, ScrollArrow arrow) {
    const Brush savedBrush = CurrentBrush();
    const Pen savedPen = CurrentPen();
    SetBrush({clBtnFace, BrushStyle::Solid});
    SetPen({clBtnShadow, 1, PenStyle::Solid});
    Rectangle(rect);
    SetPen({clBtnText, 1, PenStyle::Solid});
    // Rows of a triangle, one pixel narrower on each side per row, pointing the arrow's way.
    const std::int32_t centre = rect.Left + rect.Width() / 2;
    const std::int32_t rows = rect.Width() / 4 + 1;
    const std::int32_t firstRow = rect.Top + (rect.Height() - rows) / 2;
    for (std::int32_t i = 0; i < rows; ++i) {
        const std::int32_t half = arrow == ScrollArrow::Up ? i : rows - 1 - i;
        MoveTo(centre - half, firstRow + i);
        LineTo(centre + half + 1, firstRow + i);
    }
    SetPen(savedPen);
    SetBrush(savedBrush);
}

void Canvas::SetBrushColor(TColor color) {
    SetBrush({color, color == clNone ? BrushStyle::Clear : BrushStyle::Solid});
}

TColor Canvas::TextBackground() const {
    const Brush& brush = CurrentBrush();
    return brush.Style == BrushStyle::Clear ? clNone : brush.Color;
}

void Canvas::SetPenColor(TColor color) {
    Pen pen = CurrentPen();
    pen.Color = color;
    SetPen(pen);
}

void Canvas::SetPenWidth(std::int32_t width) {
    Pen pen = CurrentPen();
    pen.Width = width;
    SetPen(pen);
}

void Canvas::SetFontColor(TColor color) {
    FontState font = Font();
    font.Color = color;
    SetFont(font);
}

void Canvas::IntersectClipRect(const Rect& rect) {
    const std::optional<Rect> clip = ClipRect();
    SetClipRect(clip ? Intersection(*clip, rect) : rect);
}

} // namespace velmora
