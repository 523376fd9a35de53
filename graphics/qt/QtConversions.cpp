#include "graphics/qt/QtConversions.h"

#include <cstring>

namespace velmora {

QColor ToQColor(TColor color) {
    if (color == clNone) {
        return {};
    }
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor FromQColor(const QColor& color) {
    return RGBColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                    static_cast<std::uint8_t>(color.blue()));
}

QRect ToQRect(const Rect& rect) {
    return QRect(rect.Left, rect.Top, rect.Width(), rect.Height());
}

Rect FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QImage ToQImage(const Bitmap& bitmap) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        const auto row = bitmap.Row(y);
        std::memcpy(image.scanLine(y), row.data(), row.size_bytes());
    }
    return image;
}

Bitmap FromQImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(argb.width(), argb.height());
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        const auto row = bitmap.Row(y);
        std::memcpy(row.data(), argb.constScanLine(y), row.size_bytes());
    }
    return bitmap;
}

QString FromWindows1252(std::string_view text) {
    return FromText(text, TextEncoding::Windows1252);
}

QString FromText(std::string_view text, TextEncoding encoding) {
    const std::u16string utf16 = DecodeText(text, encoding);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

} // namespace velmora
