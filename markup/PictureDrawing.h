#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <cstdint>

namespace velmora {

// Copies the whole bitmap into rect, stretched, replacing what lies there: its alpha is not used.
void StretchBitmapToCanvas(Canvas& canvas, const Rect& rect, const Bitmap& bitmap);

// The bitmap laid over white paper, for printing what has transparent parts.
Bitmap OnWhite(const Bitmap& bitmap);

// Fills rect with bands from one colour to the other, left to right when horizontal, else top to
// bottom; frameColor, unless clNone, outlines the whole area afterwards. Leaves pen and brush in the
// last band's colour (the brush clear when framed).
void FillGradientBands(Canvas& canvas, TColor from, TColor to, bool horizontal, const Rect& rect,
                       std::int32_t bandCount, TColor frameColor);

// (x, y, x + round(width * scale), y + round(height * scale)), held within 32 bits: where a picture
// lands when printing.
Rect ScaledRect(std::int32_t x, std::int32_t y, Size size, double scale);

// A round to nearest that sends halves to the even neighbour, held within 32 bits.
std::int32_t RoundHalfEven(double value);

} // namespace velmora
