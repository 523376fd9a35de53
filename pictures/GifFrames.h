#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora::gif {

using Bytes = std::span<const std::uint8_t>;

// A graphic control extension of length 4 followed by the image descriptor it governs. Encoders may
// put comment and application blocks (the looping block, say) between the two; they are passed over.
// The scan tests every position, so such bytes inside image data count too; that is how animated
// pictures have always been stepped here, and callers rely on the numbering it gives.
struct FrameBlock {
    std::size_t Position = 0;   // of the graphic control extension
    std::size_t Descriptor = 0; // of the image descriptor
    std::uint16_t Delay = 0;
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    // What becomes of the frame's rectangle before the next frame is drawn: 0 and 1 keep it, 2 clears
    // it, 3 puts back what it covered; other values keep it, as decoders commonly do.
    std::uint8_t Disposal = 0;
};

bool IsGifData(Bytes data);

// The frame block that starts at position, if one does. The descriptor must have at least one byte
// after its separator inside the data; its other missing bytes read as 0.
std::optional<FrameBlock> FrameBlockAt(Bytes data, std::size_t position);

// Little-endian word; bytes past the end of the data read as 0.
std::uint16_t ReadWord(Bytes data, std::size_t offset);

// Every frame block of the data, in order: frame n is entry n - 1. Made once per picture data, so that
// stepping an animation never scans the data again.
std::vector<FrameBlock> IndexFrameBlocks(Bytes data);

// Where the image of a descriptor ends: past its colour table, code size and data sub-blocks, and
// never past the end of the data.
std::size_t ImageEnd(Bytes data, std::size_t descriptor);

struct SelectedFrame {
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
};

// Appends to `out` a GIF whose first image is that of `frame` (1-based, numbered by `index`): every byte
// before the first frame block, then the chosen block through the end of its image, then the trailer.
// Frame 0 or below keeps all the data; a frame beyond the last keeps only the bytes before the first
// block. Gives the chosen block's image position, 0 when there is no such block.
SelectedFrame SelectFrame(Bytes data, const std::vector<FrameBlock>& index, std::int32_t frame,
                          std::vector<std::uint8_t>& out);

} // namespace velmora::gif
