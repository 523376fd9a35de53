#include "cue/probes/MpcLength.h"

#include "cue/probes/HeaderBytes.h"

#include <array>
#include <string_view>

namespace velmora {
namespace {

// The packets of the header come before the first of audio; a few more than a stream has.
constexpr int kMostHeaderPackets = 16;
// A key of two capital letters, then a size of up to eight bytes of seven bits each.
constexpr std::size_t kLongestPacketStart = 10;
constexpr int kLongestNumber = 8;

struct PacketStart {
    std::string_view Key;
    // The whole packet's, its key and size included.
    std::uint64_t Size = 0;
    // Where its content begins, from the packet's start.
    std::size_t ContentAt = 0;
};

// The number in seven-bit groups at `at` of `bytes`, the high bit marking that another follows, and where
// it ends.
std::optional<std::pair<std::uint64_t, std::size_t>> Number(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (int i = 0; i < kLongestNumber && at < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        value = value << 7 | (byte & 0x7Fu);
        if ((byte & 0x80) == 0) {
            return std::pair{value, at};
        }
    }
    return std::nullopt;
}

std::optional<PacketStart> PacketAt(ByteSource& stream, std::uint64_t offset) {
    const std::string_view bytes = stream.View(offset, kLongestPacketStart);
    if (bytes.size() < 3 || bytes[0] < 'A' || bytes[0] > 'Z' || bytes[1] < 'A' || bytes[1] > 'Z') {
        return std::nullopt;
    }
    const auto size = Number(bytes, 2);
    if (!size || size->first < size->second) {
        return std::nullopt;
    }
    return PacketStart{bytes.substr(0, 2), size->first, size->second};
}

// Stream version 7: a header of 28 bytes ("MP+", the version in the low four bits of the fourth byte,
// then the frame count), and then the frames as one stream of bits, read in 32-bit little-endian words
// from the high bit down. Each frame starts with its length in bits, in 20 bits, not counting those.
constexpr std::size_t kSv7HeaderBytes = 28;
constexpr int kSv7LengthBits = 20;
// The frames are followed this far from the start; past it, only what every frame must hold is counted.
constexpr std::uint64_t kSv7Walk = std::uint64_t{1} << 20;
constexpr std::size_t kSv7Chunk = 64 * 1024;

// The bits of a version 7 stream, from a bit position counted from the file's start.
class Sv7Bits {
public:
    explicit Sv7Bits(ByteSource& stream) : stream_(stream) {}

    // The `count` bits (at most 32) at `position`; nothing where the file ends before their word does.
    std::optional<std::uint32_t> At(std::uint64_t position, int count) {
        const std::uint64_t word = position / 32 * 4;
        const std::optional<std::uint64_t> first = Word(word);
        const int shift = static_cast<int>(position % 32);
        if (!first) {
            return std::nullopt;
        }
        std::uint64_t bits = *first << 32;
        if (shift + count > 32) {
            const std::optional<std::uint64_t> second = Word(word + 4);
            if (!second) {
                return std::nullopt;
            }
            bits |= *second;
        }
        return static_cast<std::uint32_t>(bits << shift >> (64 - count));
    }

private:
    std::optional<std::uint64_t> Word(std::uint64_t offset) {
        if (offset < chunkAt_ || offset + 4 > chunkAt_ + chunk_.size()) {
            chunkAt_ = offset;
            chunk_ = stream_.View(offset, kSv7Chunk);
        }
        if (offset + 4 > chunkAt_ + chunk_.size()) {
            return std::nullopt;
        }
        return LittleEndian(reinterpret_cast<const unsigned char*>(chunk_.data()) + (offset - chunkAt_), 4);
    }

    ByteSource& stream_;
    std::uint64_t chunkAt_ = 0;
    std::string_view chunk_;
};

// Whether a version 7 stream holds every frame its header counts: its frames are followed, each by the
// length it states, to the end of the last.
std::optional<LengthReading> Sv7Length(ByteSource& stream) {
    std::array<unsigned char, kSv7HeaderBytes> header{};
    if (!ReadExactly(stream, 0, header)) {
        return ShorterThanItsHeader();
    }
    const std::uint32_t frames = LittleEndian(header.data() + 4, 4);
    Sv7Bits bits(stream);
    std::uint64_t position = kSv7HeaderBytes * 8;
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        if (position / 8 >= kSv7Walk) {
            // What is left holds at least the length of each frame still to come.
            const std::uint64_t least = position + std::uint64_t{frames - frame} * kSv7LengthBits;
            return least > stream.Size() * 8 ? std::optional(ShorterThanItsHeader()) : std::nullopt;
        }
        const std::optional<std::uint32_t> length = bits.At(position, kSv7LengthBits);
        if (!length) {
            return ShorterThanItsHeader();
        }
        position += kSv7LengthBits + std::uint64_t{*length};
    }
    // The last frame ends inside a word that must be there whole.
    const std::uint64_t end = (position + 31) / 32 * 4;
    return end > stream.Size() ? std::optional(ShorterThanItsHeader()) : std::nullopt;
}

} // namespace

std::optional<LengthReading> MpcLength(ByteSource& stream) {
    const std::string_view magic = stream.View(0, 4);
    if (magic.size() == 4 && magic.substr(0, 3) == "MP+" && (magic[3] & 0x0F) == 7) {
        return Sv7Length(stream);
    }
    if (magic != "MPCK") {
        return std::nullopt;
    }
    std::uint64_t offset = magic.size();
    for (int packet = 0; packet < kMostHeaderPackets; ++packet) {
        const std::optional<PacketStart> start = PacketAt(stream, offset);
        if (!start) {
            return offset >= stream.Size() ? std::optional(ShorterThanItsHeader()) : std::nullopt;
        }
        if (start->Key == "AP" || start->Key == "SE") {
            return std::nullopt;
        }
        if (start->Key == "SO") {
            const auto distance = Number(stream.View(offset + start->ContentAt, kLongestNumber), 0);
            if (!distance) {
                return std::nullopt;
            }
            const std::uint64_t tableAt = offset + distance->first;
            const std::optional<PacketStart> table = PacketAt(stream, tableAt);
            const bool whole = table && table->Key == "ST" && table->Size <= stream.Size() - tableAt;
            return whole ? std::nullopt : std::optional(ShorterThanItsHeader());
        }
        offset += start->Size;
    }
    return std::nullopt;
}

} // namespace velmora
