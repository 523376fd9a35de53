#include "cue/probes/OggLength.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

#include <string>

namespace velmora {
namespace {

constexpr std::size_t kPageHeader = 27;
constexpr std::uint64_t kLargestPage = kPageHeader + 255 + 255 * 255;
// How far back from the end a whole page is looked for: pages are at most 64 KiB, so a file without
// one there has lost its end.
constexpr std::uint64_t kSearchBack = std::uint64_t{1} << 20;
constexpr std::uint64_t kFirstSearch = std::uint64_t{16} << 10;
constexpr std::uint32_t kOpusRate = 48000;
constexpr std::uint64_t kNoPosition = ~std::uint64_t{0};

std::uint64_t LittleEndian64(const unsigned char* bytes) {
    return std::uint64_t{LittleEndian(bytes + 4, 4)} << 32 | LittleEndian(bytes, 4);
}

std::uint32_t PageCrc(const unsigned char* page, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        // The checksum field itself counts as zeros.
        const unsigned char byte = i >= 22 && i < 26 ? 0 : page[i];
        crc ^= std::uint32_t{byte} << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) != 0 ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

// The size of the page that starts at `at` in `bytes`, when it is whole there and its checksum holds.
std::optional<std::size_t> WholePage(const std::string& bytes, std::size_t at) {
    const auto* page = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    const std::size_t left = bytes.size() - at;
    if (left < kPageHeader || bytes.compare(at, 4, "OggS") != 0 || page[4] != 0 ||
        left < kPageHeader + page[26]) {
        return std::nullopt;
    }
    std::size_t size = kPageHeader + page[26];
    for (std::size_t i = 0; i < page[26]; ++i) {
        size += page[kPageHeader + i];
    }
    if (size > left || PageCrc(page, size) != LittleEndian(page + 22, 4)) {
        return std::nullopt;
    }
    return size;
}

} // namespace

std::optional<LengthReading> OggLength(ByteSource& stream) {
    const std::uint64_t size = stream.Size();
    // The first page's header and segment table, then the page itself: most are a few dozen bytes.
    std::string first(kPageHeader + 255, '\0');
    first.resize(stream.ReadAt(0, first.data(), first.size()));
    if (first.size() < kPageHeader || first.compare(0, 4, "OggS") != 0) {
        return std::nullopt;
    }
    std::size_t firstSize = kPageHeader + static_cast<unsigned char>(first[26]);
    for (std::size_t i = 0; i < static_cast<unsigned char>(first[26]) && kPageHeader + i < first.size();
         ++i) {
        firstSize += static_cast<unsigned char>(first[kPageHeader + i]);
    }
    first.resize(firstSize);
    first.resize(stream.ReadAt(0, first.data(), first.size()));
    if (!WholePage(first, 0)) {
        return std::nullopt;
    }
    const auto* page = reinterpret_cast<const unsigned char*>(first.data());
    const std::uint32_t serial = LittleEndian(page + 14, 4);
    const std::size_t packet = kPageHeader + page[26];
    std::uint32_t rate = 0;
    std::uint64_t skipped = 0;
    if (first.compare(packet, 7, "\x01vorbis") == 0 && first.size() >= packet + 16) {
        rate = LittleEndian(page + packet + 12, 4);
    } else if (first.compare(packet, 8, "OpusHead") == 0 && first.size() >= packet + 12) {
        rate = kOpusRate;
        skipped = LittleEndian(page + packet + 10, 2);
    } else {
        return std::nullopt;
    }
    if (rate == 0) {
        return LengthReading::Unknown(Localized("its header gives no sample rate"));
    }
    // The last page lies within a few kilobytes of the end, or a page or two when the file is cut: the
    // longer searches are for those and for files that end in something else.
    for (const std::uint64_t back : {kFirstSearch, 2 * kLargestPage, kSearchBack}) {
        const std::uint64_t from = size - std::min(size, back);
        std::string tail(static_cast<std::size_t>(size - from), '\0');
        tail.resize(stream.ReadAt(from, tail.data(), tail.size()));
        for (std::size_t at = tail.rfind("OggS"); at != std::string::npos;
             at = at == 0 ? std::string::npos : tail.rfind("OggS", at - 1)) {
            const auto* candidate = reinterpret_cast<const unsigned char*>(tail.data()) + at;
            const std::uint64_t position = LittleEndian64(candidate + 6);
            if (!WholePage(tail, at) || LittleEndian(candidate + 14, 4) != serial ||
                position == kNoPosition) {
                continue;
            }
            if (position <= skipped) {
                return LengthReading::Unknown(Localized("it holds no audio"));
            }
            return LengthReading(AudioLength{position - skipped, rate});
        }
        if (from == 0) {
            break;
        }
    }
    return LengthReading::Unknown(Localized("the end of the file holds no whole page"));
}

} // namespace velmora
