#pragma once

#include "graphics/Color.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr std::uint8_t SYMBOL_CHARSET = 2;

// How a canvas reads the bytes of the text it draws: one character a byte in Windows-1252, or UTF-8.
enum class TextEncoding : std::uint8_t { Windows1252, Utf8 };

// The text as UTF-16, for the wide-character interfaces; bytes that start no valid UTF-8 sequence become
// U+FFFD.
std::u16string DecodeText(std::string_view text, TextEncoding encoding);

// A font as a value: copying it is how the markup keeps and restores fonts.
struct FontState {
    std::string Name = "MS Sans Serif";
    std::int32_t Size = 8; // points
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    // Direction of the baseline in tenths of a degree, counter-clockwise from the x axis.
    std::int32_t Escapement = 0;
    std::uint8_t Charset = DEFAULT_CHARSET;
    // Belongs to the font so that whoever sets a font for its text says how to read that text, and
    // restoring a font restores it.
    TextEncoding Encoding = TextEncoding::Windows1252;

    friend bool operator==(const FontState&, const FontState&) = default;
};

// GDI's TEXTMETRIC in the units of the device: Height = Ascent + Descent.
struct FontMetrics {
    std::int32_t Height = 0;
    std::int32_t Ascent = 0;
    std::int32_t Descent = 0;
    std::int32_t InternalLeading = 0;
    std::int32_t ExternalLeading = 0;
    std::int32_t AverageCharWidth = 0;

    friend bool operator==(const FontMetrics&, const FontMetrics&) = default;
};

} // namespace velmora
