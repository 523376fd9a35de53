#include "cue/probes/FlacLength.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

#include <cstring>
#include <string_view>

namespace velmora {
namespace {

constexpr int kMostBlocks = 64;
constexpr std::uint8_t kStreamInfo = 0;
constexpr std::uint8_t kInvalidBlock = 127;
constexpr std::size_t kStreamInfoSize = 34;
// The largest frame header: sync and codes, a coded number of seven bytes, two bytes each of block
// size and sample rate, and its checksum.
constexpr std::size_t kLongestFrameHeader = 16;
// How far back from the end a frame is looked for: far more than the largest frame of any encoder, so
// a file that has none there has lost its end.
constexpr std::uint64_t kSearchBack = std::uint64_t{1} << 20;
// The last frame is most often within a few kilobytes of the end: the search starts small.
constexpr std::uint64_t kSearchStep = std::uint64_t{16} << 10;

// What the codes of a frame header stand for, when they stand for a value and not for "as STREAMINFO
// says" or "in the bytes that follow".
constexpr std::array<std::uint32_t, 12> kRates = {0,     88200, 176400, 192000, 8000,  16000,
                                                  22050, 24000, 32000,  44100,  48000, 96000};
constexpr std::array<std::uint32_t, 8> kBits = {0, 8, 12, 0, 16, 20, 24, 32};

struct StreamInfo {
    std::uint32_t BlockSize = 0;
    std::uint32_t Rate = 0;
    std::uint32_t Channels = 0;
    std::uint32_t Bits = 0;
    std::uint64_t Samples = 0;
};

// A frame header: where it sits in the stream, in samples.
struct FrameStart {
    std::uint64_t FirstSample = 0;
    std::uint32_t BlockSize = 0;
};

std::uint8_t Crc8(const unsigned char* bytes, std::size_t count) {
    std::uint8_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint8_t>((crc & 0x80) != 0 ? (crc << 1) ^ 0x07 : crc << 1);
        }
    }
    return crc;
}

// Where the ID3v2 tag before the stream ends, or 0.
std::uint64_t AfterId3(ByteSource& stream) {
    std::array<unsigned char, 10> tag{};
    if (!ReadExactly(stream, 0, tag) || Text(tag, 0, 3) != "ID3") {
        return 0;
    }
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < tag.size(); ++i) {
        size = size << 7 | (tag[i] & 0x7Fu);
    }
    return tag.size() + size + ((tag[5] & 0x10) != 0 ? tag.size() : 0);
}

// The STREAMINFO block and where the frames begin.
std::optional<std::pair<StreamInfo, std::uint64_t>> ReadMetadata(ByteSource& stream, std::uint64_t start) {
    std::array<unsigned char, kStreamInfoSize> info{};
    std::uint64_t offset = start + 4;
    const std::uint64_t size = stream.Size();
    for (int block = 0;; ++block) {
        std::array<unsigned char, 4> header{};
        const bool whole = ReadExactly(stream, offset, header);
        // A file cut inside its metadata holds no frames.
        if (block > 0 && !whole && offset + header.size() > size) {
            offset = size;
            break;
        }
        if (block == kMostBlocks || !whole) {
            return std::nullopt;
        }
        const std::uint8_t type = header[0] & 0x7F;
        const std::uint32_t length = BigEndian(header.data() + 1, 3);
        if (type == kInvalidBlock || (block == 0) != (type == kStreamInfo) ||
            (block == 0 && (length < kStreamInfoSize || !ReadExactly(stream, offset + 4, info)))) {
            return std::nullopt;
        }
        offset += 4 + std::uint64_t{length};
        if ((header[0] & 0x80) != 0) {
            offset = std::min(offset, size);
            break;
        }
    }
    StreamInfo stream_;
    stream_.BlockSize = BigEndian(info.data() + 2, 2);
    stream_.Rate = BigEndian(info.data() + 10, 3) >> 4;
    stream_.Channels = ((info[12] >> 1) & 0x07u) + 1;
    stream_.Bits = ((info[12] & 0x01u) << 4 | info[13] >> 4) + 1;
    stream_.Samples = std::uint64_t{info[13] & 0x0Fu} << 32 | BigEndian(info.data() + 14, 4);
    return std::pair{stream_, offset};
}

std::uint32_t ChannelsOf(std::uint32_t assignment) {
    return assignment < 8 ? assignment + 1 : 2;
}

// The frame header at the start of `bytes` (at most kLongestFrameHeader of them), when it is one of
// this stream: sync, codes that are allowed and agree with STREAMINFO, and a checksum that holds.
std::optional<FrameStart> FrameAt(const unsigned char* bytes, std::size_t count, const StreamInfo& info) {
    if (count < 6 || bytes[0] != 0xFF || (bytes[1] & 0xFE) != 0xF8) {
        return std::nullopt;
    }
    const bool variable = (bytes[1] & 0x01) != 0;
    const std::uint32_t sizeCode = bytes[2] >> 4;
    const std::uint32_t rateCode = bytes[2] & 0x0F;
    const std::uint32_t assignment = bytes[3] >> 4;
    const std::uint32_t bitsCode = (bytes[3] >> 1) & 0x07;
    if (sizeCode == 0 || rateCode == 15 || assignment > 10 || bitsCode == 3 || (bytes[3] & 0x01) != 0 ||
        ChannelsOf(assignment) != info.Channels ||
        (rateCode != 0 && rateCode < 12 && kRates[rateCode] != info.Rate) ||
        (bitsCode != 0 && kBits[bitsCode] != info.Bits)) {
        return std::nullopt;
    }
    // The frame or sample number, coded as UTF-8 codes its characters: a frame number in up to six
    // bytes, a sample number in up to seven.
    std::size_t at = 4;
    const unsigned char lead = bytes[at++];
    int ones = 0;
    while (ones < 8 && (lead & (0x80 >> ones)) != 0) {
        ++ones;
    }
    if (ones == 1 || ones == 8 || (ones == 7 && !variable)) {
        return std::nullopt;
    }
    std::uint64_t number = lead & (0x7Fu >> ones);
    for (int i = 1; i < ones; ++i) {
        if (at >= count || (bytes[at] & 0xC0) != 0x80) {
            return std::nullopt;
        }
        number = number << 6 | (bytes[at++] & 0x3Fu);
    }
    std::uint32_t blockSize = 0;
    if (sizeCode == 1) {
        blockSize = 192;
    } else if (sizeCode <= 5) {
        blockSize = 576u << (sizeCode - 2);
    } else if (sizeCode <= 7) {
        const int width = sizeCode == 6 ? 1 : 2;
        if (at + width > count) {
            return std::nullopt;
        }
        blockSize = BigEndian(bytes + at, width) + 1;
        at += width;
    } else {
        blockSize = 256u << (sizeCode - 8);
    }
    if (rateCode >= 12) {
        at += rateCode == 12 ? 1 : 2;
    }
    if (at >= count || Crc8(bytes, at) != bytes[at]) {
        return std::nullopt;
    }
    const std::uint64_t first = variable ? number : number * info.BlockSize;
    return FrameStart{first, blockSize};
}

constexpr std::size_t kNoSyncByte = static_cast<std::size_t>(-1);

// Where the last byte 0xFF before `end` lies, with which every frame header starts; kNoSyncByte when there
// is none. Compressed audio holds few of them: the bytes are passed over eight at a time.
std::size_t LastSyncByte(const unsigned char* bytes, std::size_t end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    while (end >= sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + end - sizeof word, sizeof word);
        // A byte of the complement is zero where the byte is 0xFF.
        const std::uint64_t complement = ~word;
        if (((complement - kOnes) & ~complement & kHighBits) != 0) {
            break;
        }
        end -= sizeof word;
    }
    while (end > 0) {
        if (bytes[--end] == 0xFF) {
            return end;
        }
    }
    return kNoSyncByte;
}

// The last frame of the stream, looked for from the end back to `audioStart`, no further than
// kSearchBack.
std::optional<FrameStart> LastFrame(ByteSource& stream, std::uint64_t audioStart, const StreamInfo& info) {
    const std::uint64_t size = stream.Size();
    const std::uint64_t floor = size - std::min(size - audioStart, kSearchBack);
    for (std::uint64_t end = size; end > floor;) {
        const std::uint64_t begin = end - std::min(end - floor, kSearchStep);
        // The window reaches a header's length past its end, for a header that starts just before it.
        const std::string_view window =
            stream.View(begin, static_cast<std::size_t>(std::min(size, end + kLongestFrameHeader) - begin));
        const auto* bytes = reinterpret_cast<const unsigned char*>(window.data());
        for (std::size_t at = LastSyncByte(
                 bytes, static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, window.size())));
             at != kNoSyncByte; at = LastSyncByte(bytes, at)) {
            if (const std::optional<FrameStart> frame =
                    FrameAt(bytes + at, std::min(window.size() - at, kLongestFrameHeader), info)) {
                return frame;
            }
        }
        end = begin;
    }
    return std::nullopt;
}

} // namespace

std::optional<LengthReading> FlacLength(ByteSource& stream) {
    const std::uint64_t start = AfterId3(stream);
    std::array<unsigned char, 4> magic{};
    if (!ReadExactly(stream, start, magic) || Text(magic, 0, 4) != "fLaC") {
        return std::nullopt;
    }
    const auto metadata = ReadMetadata(stream, start);
    if (!metadata) {
        return std::nullopt;
    }
    const auto& [info, audioStart] = *metadata;
    if (info.Rate == 0) {
        return LengthReading::Unknown(Localized("its header gives no sample rate"));
    }
    const std::optional<FrameStart> last = LastFrame(stream, audioStart, info);
    if (!last) {
        return info.Samples == 0 ? LengthReading::Unknown(Localized("it holds no audio frame to count"))
                                 : ShorterThanItsHeader();
    }
    const std::uint64_t framesEnd = last->FirstSample + last->BlockSize;
    if (info.Samples == 0) {
        return LengthReading(AudioLength{framesEnd, info.Rate});
    }
    // A file cut short has lost part of its last frame too: only the frames before it count.
    return LengthReading(AudioLength{framesEnd < info.Samples ? last->FirstSample : info.Samples, info.Rate});
}

} // namespace velmora
