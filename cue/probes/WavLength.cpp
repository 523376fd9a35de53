#include "cue/probes/WavLength.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

namespace velmora {
namespace {

// Enough for any header that has many chunks: a longer walk is left to TagLib.
constexpr int kMostChunks = 64;
constexpr std::uint32_t kPcmFormat = 1;
constexpr std::uint32_t kFloatFormat = 3;
constexpr std::uint32_t kExtensibleFormat = 0xFFFE;
constexpr std::size_t kFormatSize = 16;
constexpr std::uint32_t kOpenSize = 0xFFFFFFFF;

bool PrintableChunkName(const unsigned char* name) {
    for (int i = 0; i < 4; ++i) {
        if (name[i] < 32 || name[i] > 126) {
            return false;
        }
    }
    return true;
}

struct Chunks {
    std::optional<std::array<unsigned char, kFormatSize>> Format;
    // Where the samples start, and how many bytes the header gives them.
    std::uint64_t DataStart = 0;
    std::optional<std::uint32_t> DataSize;
};

// The first "fmt " and "data" chunks. A file cut inside its data ends the walk there.
std::optional<Chunks> WalkChunks(ByteSource& stream, std::uint64_t size) {
    Chunks chunks;
    std::uint64_t offset = 12;
    for (int chunk = 0; offset + 8 <= size && !(chunks.Format && chunks.DataSize); ++chunk) {
        std::array<unsigned char, 8> header{};
        if (chunk == kMostChunks || !ReadExactly(stream, offset, header) ||
            !PrintableChunkName(header.data())) {
            return std::nullopt;
        }
        const std::string_view name = Text(header, 0, 4);
        const std::uint32_t chunkSize = LittleEndian(header.data() + 4, 4);
        if (name == "fmt " && !chunks.Format) {
            std::array<unsigned char, kFormatSize> fields{};
            if (chunkSize < kFormatSize || !ReadExactly(stream, offset + 8, fields)) {
                return std::nullopt;
            }
            chunks.Format = fields;
        } else if (name == "data" && !chunks.DataSize) {
            chunks.DataStart = offset + 8;
            chunks.DataSize = chunkSize;
        }
        offset += 8 + std::uint64_t{chunkSize} + chunkSize % 2;
    }
    if (!chunks.Format || !chunks.DataSize) {
        return std::nullopt;
    }
    return chunks;
}

} // namespace

std::optional<LengthReading> WavLength(ByteSource& stream) {
    const std::uint64_t size = stream.Size();
    std::array<unsigned char, 12> riff{};
    if (!ReadExactly(stream, 0, riff) || Text(riff, 0, 4) != "RIFF" || Text(riff, 8, 4) != "WAVE") {
        return std::nullopt;
    }
    const std::optional<Chunks> chunks = WalkChunks(stream, size);
    if (!chunks) {
        return std::nullopt;
    }
    const auto& format = *chunks->Format;
    const std::uint32_t formatTag = LittleEndian(format.data(), 2);
    if (formatTag != kPcmFormat && formatTag != kFloatFormat && formatTag != kExtensibleFormat) {
        return std::nullopt;
    }
    const std::uint32_t channels = LittleEndian(format.data() + 2, 2);
    const std::uint32_t rate = LittleEndian(format.data() + 4, 4);
    const std::uint32_t bits = LittleEndian(format.data() + 14, 2);
    if (channels == 0 || rate == 0 || bits == 0) {
        return LengthReading::Unknown(Localized("its header gives no channels, sample rate or sample size"));
    }
    const std::uint64_t present = size - chunks->DataStart;
    const std::uint32_t stated = *chunks->DataSize;
    const std::uint64_t bytes =
        stated == 0 || stated == kOpenSize ? present : std::min<std::uint64_t>(stated, present);
    const std::uint64_t frameBytes = std::uint64_t{channels} * ((bits + 7) / 8);
    return LengthReading(AudioLength{bytes / frameBytes, rate});
}

} // namespace velmora
