#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora::gif {

using Bytes = std::span<const std::uint8_t>;

// A graphic control extension of length 4 directly followed by an image descriptor. The scan tests every
// position, so such bytes inside image data count too; that is how animated pictures have always been
// stepped here, and callers rely on the numbering it gives.
struct FrameBlock {
    std::uint16_t delay = 0;
    std::uint16_t left = 0;
    std::uint16_t top = 0;
};

bool IsGifData(Bytes data);
bool IsFrameBlockAt(Bytes data, std::size_t position);
FrameBlock ReadFrameBlock(Bytes data, std::size_t position);

// Little-endian word; bytes past the end of the data read as 0.
std::uint16_t ReadWord(Bytes data, std::size_t offset);

std::int32_t CountFrameBlocks(Bytes data);
// Position of the n-th block (1-based); none for n below 1 or beyond the last block.
std::optional<std::size_t> FindFrameBlock(Bytes data, std::int32_t frame);
// Delay of the n-th block (1-based) in hundredths of a second, -1 when there is no such block.
std::int32_t FrameBlockDelay(Bytes data, std::int32_t frame);

struct SelectedFrame {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
};

// Appends to `out` every byte before the first frame block and the bytes from the block of `frame` to
// the end (frame 1 or below: all the data), so that a decoder that shows the first image it meets
// shows that frame. Gives the chosen block's image position, 0 when there is no such block.
SelectedFrame SelectFrame(Bytes data, std::int32_t frame, std::vector<std::uint8_t>& out);

} // namespace velmora::gif
