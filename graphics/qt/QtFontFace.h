#pragma once

#include "graphics/FontState.h"

#include <QFont>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace velmora {

// One font as QtCanvas measures and draws it: a glyph and a whole-pixel advance for each of the 256
// codes, no kerning and no ligatures, so that text is as wide as the sum of its characters, as GDI's
// is, and drawing lands exactly where measuring said. Building one costs far more than a layout, so
// faces are shared.
struct QtFontFace {
    QFont Font;
    QRawFont Raw;
    FontMetrics Metrics;
    std::array<quint32, 256> Glyphs{};
    std::array<std::int32_t, 256> Advances{};
    // Whole pixels that each glyph may touch, around its pen position on the baseline; empty (Left >=
    // Right) for glyphs without ink.
    struct Ink {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Right = 0;
        std::int32_t Bottom = 0;
    };
    std::array<Ink, 256> Inks{};

    std::int32_t Width(std::string_view text) const {
        std::int32_t width = 0;
        for (const char c : text) {
            width += Advances[static_cast<unsigned char>(c)];
        }
        return width;
    }

    // UTF-8 text: ASCII from the table, any other character at the whole-pixel advance the font (or the
    // font Qt falls back to for it) gives it alone, so that widths still add up character by character.
    std::int32_t Utf8Width(std::string_view text) const;
    std::int32_t Advance(char32_t code) const;

private:
    // Filled as characters are first met, on the user-interface thread like the cache of faces.
    mutable std::unordered_map<char32_t, std::int32_t> wideAdvances_;
};

// Whether UTF-8 text holds characters beyond the table's ASCII, which are drawn one by one.
bool HasWideCharacters(std::string_view text, TextEncoding encoding);

// The face of a font state on a device of that resolution, from a cache for the user-interface thread
// that empties when the application ends. The colour, the decorations and the escapement of the
// state do not matter here.
std::shared_ptr<const QtFontFace> FaceFor(const FontState& font, int pixelsPerInchY);

// Whether two font states share a face.
bool SameFace(const FontState& a, const FontState& b);

} // namespace velmora
