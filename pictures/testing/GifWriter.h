#pragma once

#include <cstdint>
#include <vector>

namespace velmora::testkit {

// Palette of every GIF written here: the colour indexes of GifImage.
inline constexpr std::uint32_t kGifPalette[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

struct GifImage {
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 1;
    std::uint16_t Height = 1;
    std::uint8_t ColorIndex = 0; // the whole image in one palette colour
    std::uint16_t Delay = 0;     // hundredths of a second
    bool WithControlBlock = true;
    std::uint8_t Disposal = 0; // 0-3: unspecified, keep, clear to background, restore previous
    bool Transparent = false;  // ColorIndex is the transparent colour, so the image shows nothing
};

// A GIF89a with a 4-colour global palette and one image per entry. The image data is coded as plain
// literals with a clear code before the code width would grow, which every decoder reads.
std::vector<std::uint8_t> MakeGif(std::uint16_t screenWidth, std::uint16_t screenHeight,
                                  const std::vector<GifImage>& images);

} // namespace velmora::testkit
