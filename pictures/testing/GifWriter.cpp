#include "pictures/testing/GifWriter.h"

#include <algorithm>

namespace velmora::testkit {

namespace {

constexpr std::uint8_t kMinimumCodeSize = 2;

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::vector<std::uint8_t> LiteralCodes(std::size_t pixelCount, std::uint8_t colorIndex) {
    constexpr unsigned kClear = 1u << kMinimumCodeSize;
    constexpr unsigned kEnd = kClear + 1;
    constexpr unsigned kWidth = kMinimumCodeSize + 1;
    // Each literal adds a table entry; clearing before the table reaches 2^kWidth keeps codes 3 bits.
    constexpr std::size_t kLiteralsPerClear = (1u << kWidth) - kClear - 2;
    std::vector<std::uint8_t> out;
    std::uint32_t accumulator = 0;
    unsigned bits = 0;
    auto put = [&](unsigned code) {
        accumulator |= code << bits;
        bits += kWidth;
        while (bits >= 8) {
            out.push_back(static_cast<std::uint8_t>(accumulator & 0xFF));
            accumulator >>= 8;
            bits -= 8;
        }
    };
    put(kClear);
    for (std::size_t i = 0; i < pixelCount; ++i) {
        if (i != 0 && i % kLiteralsPerClear == 0) {
            put(kClear);
        }
        put(colorIndex);
    }
    put(kEnd);
    if (bits != 0) {
        out.push_back(static_cast<std::uint8_t>(accumulator & 0xFF));
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> MakeGif(std::uint16_t screenWidth, std::uint16_t screenHeight,
                                  const std::vector<GifImage>& images) {
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, screenWidth);
    PutWord(out, screenHeight);
    out.insert(out.end(), {0xF1, 0x00, 0x00});
    for (std::uint32_t colour : kGifPalette) {
        out.insert(out.end(), {static_cast<std::uint8_t>(colour >> 16),
                               static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour)});
    }
    for (const GifImage& image : images) {
        if (image.WithControlBlock) {
            const auto packed =
                static_cast<std::uint8_t>((image.Disposal << 2) | (image.Transparent ? 1 : 0));
            out.insert(out.end(), {0x21, 0xF9, 0x04, packed});
            PutWord(out, image.Delay);
            out.insert(out.end(), {image.Transparent ? image.ColorIndex : std::uint8_t{0}, 0x00});
        }
        out.push_back(0x2C);
        PutWord(out, image.Left);
        PutWord(out, image.Top);
        PutWord(out, image.Width);
        PutWord(out, image.Height);
        out.push_back(0x00);
        out.push_back(kMinimumCodeSize);
        const std::vector<std::uint8_t> codes =
            LiteralCodes(std::size_t{image.Width} * image.Height, image.ColorIndex);
        for (std::size_t i = 0; i < codes.size(); i += 255) {
            const std::size_t length = std::min<std::size_t>(255, codes.size() - i);
            out.push_back(static_cast<std::uint8_t>(length));
            out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(i),
                       codes.begin() + static_cast<std::ptrdiff_t>(i + length));
        }
        out.push_back(0x00);
    }
    out.push_back(0x3B);
    return out;
}

} // namespace velmora::testkit
