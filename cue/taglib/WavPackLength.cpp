#include "cue/taglib/WavPackLength.h"

#include "cue/taglib/HeaderBytes.h"

#include <string>

namespace velmora {
namespace {

constexpr std::size_t kBlockHeader = 32;
constexpr std::uint32_t kOldestVersion = 0x402;
constexpr std::uint32_t kNewestVersion = 0x410;
// Blocks are at most a megabyte; a file without one in its last two has lost its end.
constexpr std::uint64_t kSearchBack = std::uint64_t{1} << 20;

} // namespace

std::optional<std::uint64_t> WavPackSamplesHeld(HeaderStream& stream) {
    const std::uint64_t size = static_cast<std::uint64_t>(stream.length());
    const std::uint64_t from = size - std::min(size, kSearchBack);
    std::string tail(static_cast<std::size_t>(size - from), '\0');
    tail.resize(stream.ReadAt(from, tail.data(), tail.size()));
    for (std::size_t at = tail.rfind("wvpk"); at != std::string::npos;
         at = at == 0 ? std::string::npos : tail.rfind("wvpk", at - 1)) {
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

} // namespace velmora
