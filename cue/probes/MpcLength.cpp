#include "cue/probes/MpcLength.h"

#include "cue/probes/HeaderBytes.h"

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

} // namespace

std::optional<LengthReading> MpcLength(ByteSource& stream) {
    const std::string_view magic = stream.View(0, 4);
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
