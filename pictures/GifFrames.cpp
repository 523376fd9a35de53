#include "pictures/GifFrames.h"

#include <algorithm>
#include <cstring>

namespace velmora::gif {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kGraphicControlLength = 0x04;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::size_t kGraphicControlSize = 8;
constexpr std::size_t kDescriptorSize = 10;

// Past the data sub-blocks that start at p, through their zero-length terminator; the end of the data
// when they run off it.
std::size_t SkipSubBlocks(Bytes data, std::size_t p) {
    while (p < data.size()) {
        const std::size_t length = data[p];
        p += 1 + length;
        if (length == 0) {
            return p;
        }
    }
    return data.size();
}

// The image separator after a graphic control extension, past any comment and application blocks. A
// second control block, or anything else, means this control block governs no image.
std::optional<std::size_t> GovernedDescriptor(Bytes data, std::size_t p) {
    while (p + 1 < data.size()) {
        if (data[p] == kImageSeparator) {
            return p;
        }
        const bool passable = data[p] == kExtensionIntroducer &&
                              (data[p + 1] == kCommentLabel || data[p + 1] == kApplicationLabel);
        if (!passable) {
            return std::nullopt;
        }
        p = SkipSubBlocks(data, p + 2);
    }
    return std::nullopt;
}

} // namespace

bool IsGifData(Bytes data) {
    return data.size() >= 5 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8';
}

std::uint16_t ReadWord(Bytes data, std::size_t offset) {
    const std::uint16_t low = offset < data.size() ? data[offset] : 0;
    const std::uint16_t high = offset + 1 < data.size() ? data[offset + 1] : 0;
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::optional<FrameBlock> FrameBlockAt(Bytes data, std::size_t position) {
    if (position + kGraphicControlSize >= data.size() || data[position] != kExtensionIntroducer ||
        data[position + 1] != kGraphicControlLabel || data[position + 2] != kGraphicControlLength) {
        return std::nullopt;
    }
    const std::optional<std::size_t> descriptor = GovernedDescriptor(data, position + kGraphicControlSize);
    if (!descriptor) {
        return std::nullopt;
    }
    FrameBlock block;
    block.Position = position;
    block.Descriptor = *descriptor;
    block.Delay = ReadWord(data, position + 4);
    block.Left = ReadWord(data, *descriptor + 1);
    block.Top = ReadWord(data, *descriptor + 3);
    block.Width = ReadWord(data, *descriptor + 5);
    block.Height = ReadWord(data, *descriptor + 7);
    block.Disposal = static_cast<std::uint8_t>((data[position + 3] >> 2) & 0x07);
    return block;
}

std::vector<FrameBlock> IndexFrameBlocks(Bytes data) {
    std::vector<FrameBlock> index;
    // Only a position holding the introducer can start a block, and memchr finds those quickly.
    const std::uint8_t* const begin = data.data();
    const std::uint8_t* const end = begin + data.size();
    for (const std::uint8_t* p = begin; p < end; ++p) {
        p = static_cast<const std::uint8_t*>(
            std::memchr(p, kExtensionIntroducer, static_cast<std::size_t>(end - p)));
        if (p == nullptr) {
            break;
        }
        if (const std::optional<FrameBlock> block = FrameBlockAt(data, static_cast<std::size_t>(p - begin))) {
            index.push_back(*block);
        }
    }
    return index;
}

std::size_t ImageEnd(Bytes data, std::size_t descriptor) {
    const std::size_t flagsAt = descriptor + kDescriptorSize - 1;
    if (flagsAt >= data.size()) {
        return data.size();
    }
    const std::uint8_t flags = data[flagsAt];
    std::size_t p = descriptor + kDescriptorSize;
    if ((flags & 0x80) != 0) {
        p += std::size_t{3} * (std::size_t{2} << (flags & 0x07));
    }
    // The byte after the colour table is the code size; the data sub-blocks follow it.
    return std::min(SkipSubBlocks(data, p + 1), data.size());
}

SelectedFrame SelectFrame(Bytes data, const std::vector<FrameBlock>& index, std::int32_t frame,
                          std::vector<std::uint8_t>& out) {
    if (frame < 1 || index.empty()) {
        out.insert(out.end(), data.begin(), data.end());
        return {};
    }
    const auto prefix = static_cast<std::ptrdiff_t>(index.front().Position);
    out.insert(out.end(), data.begin(), data.begin() + prefix);
    if (static_cast<std::size_t>(frame) > index.size()) {
        return {};
    }
    const FrameBlock& chosen = index[static_cast<std::size_t>(frame) - 1];
    const std::size_t end = ImageEnd(data, chosen.Descriptor);
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(chosen.Position),
               data.begin() + static_cast<std::ptrdiff_t>(end));
    if (end < data.size()) {
        out.push_back(kTrailer);
    }
    return {chosen.Left, chosen.Top};
}

} // namespace velmora::gif
