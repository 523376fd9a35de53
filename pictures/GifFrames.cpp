#include "pictures/GifFrames.h"

#include <cstring>
#include <limits>
#include <optional>

namespace velmora::gif {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kGraphicControlLength = 0x04;
constexpr std::uint8_t kImageSeparator = 0x2C;

template <typename Visit> void ForEachFrameBlock(Bytes data, Visit visit) {
    // Only a position holding the introducer can start a block, and memchr finds those quickly.
    const std::uint8_t* const begin = data.data();
    const std::uint8_t* const end = begin + data.size();
    for (const std::uint8_t* p = begin; p < end; ++p) {
        p = static_cast<const std::uint8_t*>(
            std::memchr(p, kExtensionIntroducer, static_cast<std::size_t>(end - p)));
        if (p == nullptr) {
            return;
        }
        const auto position = static_cast<std::size_t>(p - begin);
        if (IsFrameBlockAt(data, position) && !visit(position)) {
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

std::optional<std::size_t> FindFrameBlock(Bytes data, std::int32_t frame) {
    std::optional<std::size_t> found;
    std::int32_t number = 0;
    if (frame >= 1) {
        ForEachFrameBlock(data, [&](std::size_t p) {
            if (++number < frame) {
                return true;
            }
            found = p;
            return false;
        });
    }
    return found;
}

std::int32_t FrameBlockDelay(Bytes data, std::int32_t frame) {
    const std::optional<std::size_t> block = FindFrameBlock(data, frame);
    return block ? ReadFrameBlock(data, *block).delay : -1;
}

SelectedFrame SelectFrame(Bytes data, std::int32_t frame, std::vector<std::uint8_t>& out) {
    const std::optional<std::size_t> first = FindFrameBlock(data, 1);
    const std::optional<std::size_t> chosen = FindFrameBlock(data, frame);
    SelectedFrame selected;
    if (chosen) {
        const FrameBlock block = ReadFrameBlock(data, *chosen);
        selected.left = block.left;
        selected.top = block.top;
    }
    const bool dropsBlocks = frame > 1 && first;
    const std::size_t kept = dropsBlocks ? *first : data.size();
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept));
    if (dropsBlocks && chosen) {
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(*chosen), data.end());
    }
    return selected;
}

} // namespace velmora::gif
