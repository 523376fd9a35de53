#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <string_view>

namespace velmora {

// System colours are resolved; clNone gives an invalid QColor.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

QRect ToQRect(const Rect& rect);
Rect FromQRect(const QRect& rect);

// A copy in Format_ARGB32, and back from an image of any format.
QImage ToQImage(const Bitmap& bitmap);
Bitmap FromQImage(const QImage& image);

QString FromWindows1252(std::string_view text);

} // namespace velmora
