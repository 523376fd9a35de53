#include "graphics/qt/QtFonts.h"

#include "graphics/Rect.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

struct Substitution {
    std::string_view windowsName;
    std::array<const char*, 2> families;
};

constexpr std::array<Substitution, 9> kSubstitutions = {{
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"Microsoft Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"MS Shell Dlg", {"Liberation Sans", "DejaVu Sans"}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
    {"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
    {"Verdana", {"DejaVu Sans", "Liberation Sans"}},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}},
    // The Symbol font only ever shows bullets here, which DejaVu Sans has.
    {"Symbol", {"DejaVu Sans", "Liberation Sans"}},
}};

constexpr int kLargestPixelSize = 1000;

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

} // namespace

QStringList SubstituteFamilies(std::string_view name) {
    for (const Substitution& substitution : kSubstitutions) {
        if (SameName(name, substitution.windowsName)) {
            return {QString::fromLatin1(substitution.families[0]),
                    QString::fromLatin1(substitution.families[1])};
        }
    }
    QStringList families;
    if (!name.empty()) {
        families << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    return families;
}

bool IsSymbolFont(const FontState& font) {
    return font.Charset == SYMBOL_CHARSET || SameName(font.Name, "Symbol");
}

QFont ToQFont(const FontState& font, int pixelsPerInchY) {
    QFont result;
    result.setFamilies(SubstituteFamilies(font.Name));
    const std::int64_t size = font.Size;
    const auto points = static_cast<std::int32_t>(
        std::min<std::int64_t>(size == 0 ? 8 : (size < 0 ? -size : size), kLargestPixelSize));
    result.setPixelSize(std::clamp(MulDiv(points, pixelsPerInchY, 72), 1, kLargestPixelSize));
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    result.setStrikeOut(font.StrikeOut);
    return result;
}

} // namespace velmora
