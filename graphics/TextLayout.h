#pragma once

#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "graphics/TextFormat.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A piece of shown text without tabs, X pixels from the start of the line.
struct TextPiece {
    std::string Text;
    std::int32_t X = 0;

    friend bool operator==(const TextPiece&, const TextPiece&) = default;
};

// A horizontal span [Left, Right) from the start of the line: a character that "&" underlines.
struct PrefixMark {
    std::int32_t Left = 0;
    std::int32_t Right = 0;

    friend bool operator==(const PrefixMark&, const PrefixMark&) = default;
};

// Where DrawTextExA would put one line of text, for any canvas that can measure text.
struct TextLine {
    std::vector<TextPiece> Pieces; // after "&" processing, tab expansion and the end ellipsis
    std::vector<PrefixMark> Marks;
    Rect Cell; // the text's box in the rectangle; its height includes the external leading if asked
    std::int32_t Baseline = 0;
    std::int32_t Result = 0; // what DrawText returns
    std::string Shown;       // the shown text, tabs kept
};

// Where a line `width` pixels wide goes in rect: its box, its baseline and what DrawText returns.
struct TextPlacement {
    Rect Cell;
    std::int32_t Baseline = 0;
    std::int32_t Result = 0;
};

TextPlacement PlaceTextLine(const Rect& rect, TextFormat format, const FontMetrics& metrics,
                            std::int32_t width);

// Whether text shows exactly as it is written: no "&" to process and no tab to expand.
bool ShowsAsWritten(std::string_view text, TextFormat format);

// Width in pixels of text holding no tab, in the canvas's current font.
using MeasureWidth = std::function<std::int32_t(std::string_view)>;

// The ellipsis cuts, and "&" marks, whole characters of the encoding.
TextLine LayOutTextLine(std::string_view text, const Rect& rect, TextFormat format,
                        const FontMetrics& metrics, TextEncoding encoding, const MeasureWidth& measure);

// The rectangle DT_CALCRECT gives: rect's left and top with the text's width and height. Text without
// tabs to expand is measured piece by piece between its "&" without building the line, unless the
// ellipsis has to cut it.
Rect MeasureTextLine(std::string_view text, const Rect& rect, TextFormat format, const FontMetrics& metrics,
                     TextEncoding encoding, const MeasureWidth& measure);

inline constexpr std::string_view kEllipsis = "...";

} // namespace velmora
