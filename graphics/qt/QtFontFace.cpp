#include "graphics/qt/QtFontFace.h"

#include "graphics/qt/QtFonts.h"
#include "text/Utf8Sequences.h"
#include "text/Windows1252.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

constexpr std::size_t kCacheLimit = 64;

struct CachedFace {
    FontState State;
    int PixelsPerInch = 0;
    std::shared_ptr<const QtFontFace> Face;
};

// A pixel is touched by any part of the outline inside it.
QtFontFace::Ink InkOf(const QRawFont& raw, quint32 glyph) {
    const QRectF box = raw.boundingRect(glyph);
    if (box.isEmpty()) {
        return {};
    }
    const auto down = [](qreal v) {
        return static_cast<std::int32_t>(std::floor(v));
    };
    const auto up = [](qreal v) {
        return static_cast<std::int32_t>(std::ceil(v));
    };
    return {down(box.left()), down(box.top()), up(box.right()), up(box.bottom())};
}

std::shared_ptr<const QtFontFace> BuildFace(const FontState& state, int pixelsPerInchY) {
    auto face = std::make_shared<QtFontFace>();
    face->Font = ToQFont(state, pixelsPerInchY);
    face->Raw = QRawFont::fromFont(face->Font);

    const QFontMetrics metrics(face->Font);
    face->Metrics.Ascent = metrics.ascent();
    face->Metrics.Descent = metrics.descent();
    face->Metrics.Height = metrics.ascent() + metrics.descent();
    face->Metrics.InternalLeading = std::max(0, face->Metrics.Height - face->Font.pixelSize());
    face->Metrics.ExternalLeading = std::max(0, metrics.leading());
    face->Metrics.AverageCharWidth = metrics.averageCharWidth();

    std::string codes(256, '\0');
    for (std::size_t i = 0; i < codes.size(); ++i) {
        codes[i] = static_cast<char>(i);
    }
    const std::u16string text = IsSymbolFont(state) ? DecodeSymbolFont(codes) : DecodeWindows1252(codes);
    const QList<quint32> glyphs = face->Raw.glyphIndexesForString(
        QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
    if (glyphs.size() == static_cast<qsizetype>(face->Glyphs.size())) {
        const QList<QPointF> advances = face->Raw.advancesForGlyphIndexes(glyphs);
        for (std::size_t i = 0; i < face->Glyphs.size(); ++i) {
            face->Glyphs[i] = glyphs[static_cast<qsizetype>(i)];
            face->Advances[i] =
                static_cast<std::int32_t>(std::lround(advances[static_cast<qsizetype>(i)].x()));
            face->Inks[i] = InkOf(face->Raw, face->Glyphs[i]);
        }
    }
    return face;
}

std::vector<CachedFace>& Cache() {
    static std::vector<CachedFace> cache;
    // Fonts must go before the application that made them does.
    static const bool clearedWithTheApplication = [] {
        qAddPostRoutine([] { Cache().clear(); });
        return true;
    }();
    (void)clearedWithTheApplication;
    return cache;
}

} // namespace

std::int32_t QtFontFace::Utf8Width(std::string_view text) const {
    std::int32_t width = 0;
    while (!text.empty()) {
        const Utf8Character c = FirstUtf8Character(text);
        width += c.Code < 0x80 ? Advances[c.Code] : Advance(c.Code);
        text.remove_prefix(c.Length);
    }
    return width;
}

std::int32_t QtFontFace::Advance(char32_t code) const {
    const auto found = wideAdvances_.find(code);
    if (found != wideAdvances_.end()) {
        return found->second;
    }
    const QString character = QString::fromUcs4(&code, 1);
    const auto advance =
        static_cast<std::int32_t>(std::lround(QFontMetricsF(Font).horizontalAdvance(character)));
    wideAdvances_.emplace(code, advance);
    return advance;
}

bool HasWideCharacters(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 && std::any_of(text.begin(), text.end(), [](char c) {
               return static_cast<unsigned char>(c) >= 0x80;
           });
}

bool SameFace(const FontState& a, const FontState& b) {
    return a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic && a.Charset == b.Charset &&
           a.Name == b.Name;
}

std::shared_ptr<const QtFontFace> FaceFor(const FontState& font, int pixelsPerInchY) {
    std::vector<CachedFace>& cache = Cache();
    const auto found = std::find_if(cache.begin(), cache.end(), [&](const CachedFace& cached) {
        return cached.PixelsPerInch == pixelsPerInchY && SameFace(cached.State, font);
    });
    if (found != cache.end()) {
        return found->Face;
    }
    if (cache.size() >= kCacheLimit) {
        cache.clear();
    }
    cache.push_back({font, pixelsPerInchY, BuildFace(font, pixelsPerInchY)});
    return cache.back().Face;
}

} // namespace velmora
