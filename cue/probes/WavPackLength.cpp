#include "cue/probes/WavPackLength.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

#include <array>
#include <string_view>

namespace velmora {
namespace {

constexpr std::size_t kBlockHeader = 32;
constexpr std::uint32_t kOldestVersion = 0x402;
constexpr std::uint32_t kNewestVersion = 0x410;
// Blocks are at most a megabyte; a file without one in its last two has lost its end.
constexpr std::uint64_t kSearchBack = std::uint64_t{1} << 20;
// The rates a block's flags can name; the last index says the rate is given elsewhere.
constexpr std::array<std::uint32_t, 15> kRates = {6000,  8000,  9600,  11025, 12000, 16000, 22050, 24000,
                                                  32000, 44100, 48000, 64000, 88200, 96000, 192000};
constexpr std::uint32_t kUnknownSamples = 0xFFFFFFFF;

} // namespace

std::optional<std::uint64_t> WavPackSamplesHeld(ByteSource& stream) {
    const std::uint64_t size = stream.Size();
    const std::uint64_t from = size - std::min(size, kSearchBack);
    const std::string_view tail = stream.View(from, static_cast<std::size_t>(size - from));
    for (std::size_t at = tail.rfind("wvpk"); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : tail.rfind("wvpk", at - 1)) {
        if (tail.size() - at < kBlockHeader) {
            continue;
        }
        const auto* block = reinterpret_cast<const unsigned char*>(tail.data()) + at;
        const std::uint32_t version = LittleEndian(block + 8, 2);
        const std::uint64_t blockSize = std::uint64_t{LittleEndian(block + 4, 4)} + 8;
        const std::uint64_t samples = LittleEndian(block + 20, 4);
        if (version < kOldestVersion || version > kNewestVersion || blockSize < kBlockHeader ||
            samples == 0) {
            continue;
        }
        const std::uint64_t index = std::uint64_t{block[10]} << 32 | LittleEndian(block + 16, 4);
        return at + blockSize <= tail.size() ? index + samples : index;
    }
    return std::nullopt;
}

std::optional<LengthReading> WavPackLength(ByteSource& stream) {
    std::array<unsigned char, kBlockHeader> block{};
    if (!ReadExactly(stream, 0, block) || Text(block, 0, 4) != "wvpk") {
        return std::nullopt;
    }
    const std::uint32_t version = LittleEndian(block.data() + 8, 2);
    const std::uint32_t rateIndex = LittleEndian(block.data() + 24, 4) >> 23 & 0x0F;
    if (version < kOldestVersion || version > kNewestVersion || rateIndex >= kRates.size()) {
        return std::nullopt;
    }
    const std::uint32_t low = LittleEndian(block.data() + 12, 4);
    const std::optional<std::uint64_t> held = WavPackSamplesHeld(stream);
    if (!held) {
        return ShorterThanItsHeader();
    }
    // A file written to a pipe does not know its count; the blocks it holds say it all the same.
    const std::uint64_t stated = low == kUnknownSamples ? *held : std::uint64_t{block[11]} << 32 | low;
    if (stated == 0) {
        return LengthReading::Unknown(Localized("its header gives no count of samples"));
    }
    return LengthReading(AudioLength{std::min(stated, *held), kRates[rateIndex]});
}

} // namespace velmora
