#include "cue/probes/ApeLength.h"

#include "cue/probes/HeaderBytes.h"

#include <array>

namespace velmora {
namespace {

// The first version whose descriptor counts its parts' bytes.
constexpr std::uint32_t kDescribedVersion = 3980;
constexpr std::size_t kDescriptorCounts = 36;
// The older header: the version, compression, format flags, channels and sample rate, then the bytes of
// the source's header and of what followed its samples, the frame count and the final frame's samples.
constexpr std::size_t kOldHeaderBytes = 32;
constexpr std::uint32_t kHasPeakLevel = 4;
constexpr std::uint32_t kHasSeekElements = 16;
constexpr std::uint32_t kMadeItsOwnSourceHeader = 32;

// An older file counts no bytes, but its seek table gives where each frame starts: the last must start
// before what followed the source's samples, which ends the file.
std::optional<LengthReading> OldApeLength(ByteSource& stream,
                                          const std::array<unsigned char, kDescriptorCounts>& header) {
    const std::uint32_t flags = LittleEndian(header.data() + 8, 2);
    const std::uint32_t trailing = LittleEndian(header.data() + 20, 4);
    const std::uint32_t frames = LittleEndian(header.data() + 24, 4);
    if (frames == 0) {
        return std::nullopt;
    }
    std::uint64_t at = kOldHeaderBytes;
    if ((flags & kHasPeakLevel) != 0) {
        at += 4;
    }
    std::uint64_t entries = frames;
    if ((flags & kHasSeekElements) != 0) {
        std::array<unsigned char, 4> count{};
        if (!ReadExactly(stream, at, count)) {
            return ShorterThanItsHeader();
        }
        entries = LittleEndian(count.data(), 4);
        at += 4;
    }
    if ((flags & kMadeItsOwnSourceHeader) == 0) {
        at += LittleEndian(header.data() + 16, 4);
    }
    if (entries < frames) {
        return std::nullopt;
    }
    std::array<unsigned char, 4> last{};
    if (!ReadExactly(stream, at + (std::uint64_t{frames} - 1) * 4, last)) {
        return ShorterThanItsHeader();
    }
    const std::uint64_t lastFrame = LittleEndian(last.data(), 4);
    return lastFrame + trailing >= stream.Size() ? std::optional(ShorterThanItsHeader()) : std::nullopt;
}

} // namespace

std::optional<LengthReading> ApeLength(ByteSource& stream) {
    std::array<unsigned char, kDescriptorCounts> descriptor{};
    if (!ReadExactly(stream, 0, descriptor) || Text(descriptor, 0, 4) != "MAC ") {
        return std::nullopt;
    }
    if (LittleEndian(descriptor.data() + 4, 2) < kDescribedVersion) {
        return OldApeLength(stream, descriptor);
    }
    // The descriptor, header, seek table, the source's own header, the frames (in 64 bits) and what
    // follows them, in that order.
    const std::uint64_t frames = std::uint64_t{LittleEndian(descriptor.data() + 28, 4)} << 32 |
                                 LittleEndian(descriptor.data() + 24, 4);
    std::uint64_t stated = frames;
    for (const std::size_t at : {8, 12, 16, 20, 32}) {
        stated += LittleEndian(descriptor.data() + at, 4);
    }
    return stated > stream.Size() ? std::optional(ShorterThanItsHeader()) : std::nullopt;
}

} // namespace velmora
