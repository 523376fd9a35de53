#include "cue/probes/Mp4Length.h"

#include "cue/probes/HeaderBytes.h"

#include <array>

namespace velmora {
namespace {

constexpr std::size_t kBoxHeader = 8;
constexpr std::size_t kLargeBoxHeader = 16;
// A file has a handful of top-level boxes; past this many the walk stops and leaves the file to TagLib.
constexpr int kMostBoxes = 64;

} // namespace

std::optional<LengthReading> Mp4Length(ByteSource& stream) {
    const std::uint64_t size = stream.Size();
    std::uint64_t offset = 0;
    for (int box = 0; box < kMostBoxes && offset < size; ++box) {
        std::array<unsigned char, kLargeBoxHeader> header{};
        const std::size_t read = stream.ReadAt(offset, reinterpret_cast<char*>(header.data()), header.size());
        if (box == 0 && (read < kBoxHeader || Text(header, 4, 4) != "ftyp")) {
            return std::nullopt;
        }
        if (read < kBoxHeader) {
            return ShorterThanItsHeader();
        }
        const std::uint32_t stated = BigEndian(header.data(), 4);
        // 0: the box runs to the end of the file, as the last one may.
        if (stated == 0) {
            return std::nullopt;
        }
        std::uint64_t length = stated;
        std::size_t headerSize = kBoxHeader;
        // 1: the length follows the type, in 64 bits.
        if (stated == 1) {
            if (read < kLargeBoxHeader) {
                return ShorterThanItsHeader();
            }
            length = std::uint64_t{BigEndian(header.data() + 8, 4)} << 32 | BigEndian(header.data() + 12, 4);
            headerSize = kLargeBoxHeader;
        }
        if (length < headerSize) {
            return std::nullopt;
        }
        if (length > size - offset) {
            return ShorterThanItsHeader();
        }
        offset += length;
    }
    return std::nullopt;
}

} // namespace velmora
