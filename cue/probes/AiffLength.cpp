#include "cue/probes/AiffLength.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

namespace velmora {
namespace {

constexpr int kMostChunks = 64;
constexpr std::size_t kCommonSize = 18;
constexpr std::uint64_t kSoundPrefix = 8;

// The whole part of an 80-bit extended number, as AIFF gives its sample rate; 0 when it is none.
std::uint32_t ExtendedRate(const unsigned char* bytes) {
    const int exponent = static_cast<int>((bytes[0] & 0x7Fu) << 8 | bytes[1]) - 16383;
    if ((bytes[0] & 0x80) != 0 || exponent < 0 || exponent > 31) {
        return 0;
    }
    const std::uint64_t mantissa = std::uint64_t{BigEndian(bytes + 2, 4)} << 32 | BigEndian(bytes + 6, 4);
    return static_cast<std::uint32_t>(mantissa >> (63 - exponent));
}

} // namespace

std::optional<LengthReading> AiffLength(ByteSource& stream) {
    const std::uint64_t size = stream.Size();
    std::array<unsigned char, 12> form{};
    if (!ReadExactly(stream, 0, form) || Text(form, 0, 4) != "FORM" ||
        (Text(form, 8, 4) != "AIFF" && Text(form, 8, 4) != "AIFC")) {
        return std::nullopt;
    }
    std::optional<std::array<unsigned char, kCommonSize + 4>> common;
    std::optional<std::uint64_t> soundBytes;
    std::uint64_t offset = form.size();
    for (int chunk = 0; offset + 8 <= size && !(common && soundBytes); ++chunk) {
        std::array<unsigned char, 8> header{};
        if (chunk == kMostChunks || !ReadExactly(stream, offset, header)) {
            return std::nullopt;
        }
        const std::uint32_t chunkSize = BigEndian(header.data() + 4, 4);
        if (Text(header, 0, 4) == "COMM") {
            std::array<unsigned char, kCommonSize + 4> fields{};
            const bool compressed = Text(form, 8, 4) == "AIFC";
            if (chunkSize < kCommonSize + (compressed ? 4 : 0) || !ReadExactly(stream, offset + 8, fields) ||
                (compressed && Text(fields, kCommonSize, 4) != "NONE" &&
                 Text(fields, kCommonSize, 4) != "sowt")) {
                return std::nullopt;
            }
            common = fields;
        } else if (Text(header, 0, 4) == "SSND") {
            const std::uint64_t present = std::min<std::uint64_t>(chunkSize, size - offset - 8);
            soundBytes = present > kSoundPrefix ? present - kSoundPrefix : 0;
        }
        offset += 8 + std::uint64_t{chunkSize} + chunkSize % 2;
    }
    if (!common || !soundBytes) {
        return std::nullopt;
    }
    const std::uint32_t channels = BigEndian(common->data(), 2);
    const std::uint64_t frames = BigEndian(common->data() + 2, 4);
    const std::uint32_t bits = BigEndian(common->data() + 6, 2);
    const std::uint32_t rate = ExtendedRate(common->data() + 8);
    if (channels == 0 || bits == 0 || rate == 0) {
        return LengthReading::Unknown(Localized("its header gives no channels, sample rate or sample size"));
    }
    const std::uint64_t held = *soundBytes / (std::uint64_t{channels} * ((bits + 7) / 8));
    return LengthReading(AudioLength{std::min(frames, held), rate});
}

} // namespace velmora
