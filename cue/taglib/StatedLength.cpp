#include "cue/taglib/StatedLength.h"

#include "cue/taglib/HeaderBytes.h"
#include "cue/taglib/Mp3Length.h"

#include <array>
#include <cstdint>

namespace velmora {
namespace {

// Enough for any header that has many chunks or blocks: a longer walk is left to TagLib.
constexpr int kMostChunks = 64;
constexpr std::uint16_t kPcmFormat = 1;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::uint8_t kFlacStreamInfo = 0;
constexpr std::uint8_t kFlacPadding = 1;
constexpr std::uint8_t kFlacSeekTable = 3;
constexpr std::uint8_t kFlacInvalidBlock = 127;
constexpr std::size_t kStreamInfoSize = 34;

bool HasExtension(std::string_view path, std::string_view extension) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos ||
        path.size() - dot - 1 != extension.size()) {
        return false;
    }
    for (std::size_t i = 0; i < extension.size(); ++i) {
        char c = path[dot + 1 + i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != extension[i]) {
            return false;
        }
    }
    return true;
}

bool PrintableChunkName(const unsigned char* name) {
    for (int i = 0; i < 4; ++i) {
        if (name[i] < 32 || name[i] > 126) {
            return false;
        }
    }
    return true;
}

// RIFF/WAVE whose size field matches the file and whose chunks (all even-sized, so no padding byte is in
// doubt) fill it exactly, without a "fact" chunk. The first "fmt " (plain PCM) and the first "data"
// chunk count, as they do for TagLib.
std::optional<AudioLength> WavLength(HeaderStream& stream) {
    const std::uint64_t size = static_cast<std::uint64_t>(stream.length());
    std::array<unsigned char, 12> riff{};
    if (!ReadExactly(stream, 0, riff) || Text(riff, 0, 4) != "RIFF" || Text(riff, 8, 4) != "WAVE" ||
        LittleEndian(riff.data() + 4, 4) + std::uint64_t{8} != size) {
        return std::nullopt;
    }
    std::optional<std::array<unsigned char, kPcmFormatSize>> format;
    std::optional<std::uint32_t> dataSize;
    std::uint64_t offset = riff.size();
    for (int chunk = 0; offset < size; ++chunk) {
        std::array<unsigned char, 8> header{};
        if (chunk == kMostChunks || !ReadExactly(stream, offset, header) ||
            !PrintableChunkName(header.data())) {
            return std::nullopt;
        }
        const std::string_view name = Text(header, 0, 4);
        const std::uint32_t chunkSize = LittleEndian(header.data() + 4, 4);
        if (chunkSize % 2 != 0 || offset + 8 + chunkSize > size || name == "fact" || name == "FACT") {
            return std::nullopt;
        }
        if (name == "fmt " && !format) {
            std::array<unsigned char, kPcmFormatSize> fields{};
            if (chunkSize < kPcmFormatSize || !ReadExactly(stream, offset + 8, fields)) {
                return std::nullopt;
            }
            format = fields;
        } else if (name == "data" && !dataSize) {
            dataSize = chunkSize;
        }
        offset += 8 + chunkSize;
    }
    if (!format || !dataSize || *dataSize == 0) {
        return std::nullopt;
    }
    const std::uint32_t formatTag = LittleEndian(format->data(), 2);
    const std::uint32_t channels = LittleEndian(format->data() + 2, 2);
    const std::uint32_t rate = LittleEndian(format->data() + 4, 4);
    const std::uint32_t bits = LittleEndian(format->data() + 14, 2);
    if (formatTag != kPcmFormat || channels == 0 || rate == 0 || bits == 0 || bits % 8 != 0) {
        return std::nullopt;
    }
    return AudioLength{*dataSize / (channels * (bits / 8)), rate};
}

// "fLaC" at the very start (no ID3v2 tag before it), STREAMINFO first, and a chain of metadata blocks
// that ends before the end of the file, each block whole.
std::optional<AudioLength> FlacLength(HeaderStream& stream) {
    const std::uint64_t size = static_cast<std::uint64_t>(stream.length());
    std::array<unsigned char, 4> magic{};
    if (!ReadExactly(stream, 0, magic) || Text(magic, 0, 4) != "fLaC") {
        return std::nullopt;
    }
    std::array<unsigned char, kStreamInfoSize> info{};
    std::uint64_t offset = magic.size();
    for (int block = 0;; ++block) {
        std::array<unsigned char, 4> header{};
        if (block == kMostChunks || !ReadExactly(stream, offset, header)) {
            return std::nullopt;
        }
        const bool last = (header[0] & 0x80) != 0;
        const std::uint8_t type = header[0] & 0x7F;
        const std::uint32_t length = BigEndian(header.data() + 1, 3);
        const bool mayBeEmpty = type == kFlacPadding || type == kFlacSeekTable;
        if (type == kFlacInvalidBlock || (block == 0) != (type == kFlacStreamInfo) ||
            (length == 0 && !mayBeEmpty) || (block == 0 && length < kStreamInfoSize) ||
            (block == 0 && !ReadExactly(stream, offset + 4, info))) {
            return std::nullopt;
        }
        offset += 4 + std::uint64_t{length};
        if (offset >= size) {
            return std::nullopt;
        }
        if (last) {
            break;
        }
    }
    const std::uint32_t rate = BigEndian(info.data() + 10, 3) >> 4;
    const std::uint64_t samples = std::uint64_t{info[13] & 0x0Fu} << 32 | BigEndian(info.data() + 14, 4);
    if (rate == 0 || samples == 0) {
        return std::nullopt;
    }
    return AudioLength{samples, rate};
}

} // namespace

std::optional<AudioLength> StatedLength(HeaderStream& stream, std::string_view path) {
    if (!stream.isOpen()) {
        return std::nullopt;
    }
    if (HasExtension(path, "wav")) {
        return WavLength(stream);
    }
    if (HasExtension(path, "flac")) {
        return FlacLength(stream);
    }
    if (HasExtension(path, "mp3")) {
        return Mp3Length(stream);
    }
    return std::nullopt;
}

} // namespace velmora
