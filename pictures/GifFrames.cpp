#include "pictures/GifFrames.h"

#include <algorithm>
#include <limits>

namespace velmora::gif {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kGraphicControlLength = 0x04;
constexpr std::uint8_t kImageSeparator = 0x2C;

template <typename Visit> void ForEachFrameBlock(Bytes data, Visit visit) {
    for (std::size_t p = 0; p < data.size(); ++p) {
        if (IsFrameBlockAt(data, p) && !visit(p)) {
            return;
        }
    }
}

} // namespace

bool IsGifData(Bytes data) {
    return data.size() >= 5 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8';
}

bool IsFrameBlockAt(Bytes data, std::size_t position) {
    return position + 9 < data.size() && data[position] == kExtensionIntroducer &&
           data[position + 1] == kGraphicControlLabel && data[position + 2] == kGraphicControlLength &&
           data[position + 8] == kImageSeparator;
}

std::uint16_t ReadWord(Bytes data, std::size_t offset) {
    const std::uint16_t low = offset < data.size() ? data[offset] : 0;
    const std::uint16_t high = offset + 1 < data.size() ? data[offset + 1] : 0;
    return static_cast<std::uint16_t>(low | (high << 8));
}

FrameBlock ReadFrameBlock(Bytes data, std::size_t position) {
    FrameBlock block;
    block.position = position;
    block.flags = data[position + 3];
    block.delay = ReadWord(data, position + 4);
    // The descriptor may be cut short by the end of the data; its missing bytes read as 0.
    block.left = ReadWord(data, position + 9);
    block.top = ReadWord(data, position + 11);
    return block;
}

std::int32_t CountFrameBlocks(Bytes data) {
    std::int32_t count = 0;
    ForEachFrameBlock(data, [&count](std::size_t) {
        ++count;
        return count < std::numeric_limits<std::int32_t>::max();
    });
    return count;
}

std::int32_t FrameBlockDelay(Bytes data, std::int32_t frame) {
    std::int32_t delay = -1;
    std::int32_t number = 0;
    ForEachFrameBlock(data, [&](std::size_t p) {
        if (++number < frame) {
            return true;
        }
        if (number == frame) {
            delay = ReadFrameBlock(data, p).delay;
        }
        return false;
    });
    return delay;
}

SelectedFrame SelectFrame(Bytes data, std::int32_t frame, std::span<std::uint8_t> out) {
    SelectedFrame selected;
    std::int64_t number = 1;
    bool skip = false;
    std::size_t copyFrom = 0;
    ForEachFrameBlock(data, [&](std::size_t p) {
        if (frame == number) {
            const FrameBlock block = ReadFrameBlock(data, p);
            selected.left = block.left;
            selected.top = block.top;
        }
        ++number;
        const bool skipFromHere = frame >= number;
        if (skip != skipFromHere) {
            if (!skip) {
                std::copy(data.begin() + static_cast<std::ptrdiff_t>(copyFrom),
                          data.begin() + static_cast<std::ptrdiff_t>(p),
                          out.begin() + static_cast<std::ptrdiff_t>(selected.length));
                selected.length += p - copyFrom;
            }
            copyFrom = p;
            skip = skipFromHere;
        }
        return true;
    });
    if (!skip) {
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(copyFrom), data.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(selected.length));
        selected.length += data.size() - copyFrom;
    }
    return selected;
}

} // namespace velmora::gif
