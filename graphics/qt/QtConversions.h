#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/FontState.h"
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
// Windows-1252 or UTF-8 text, as a canvas reads it: each byte that starts no valid sequence is U+FFFD.
QString FromText(std::string_view text, TextEncoding encoding);

} // namespace velmora
