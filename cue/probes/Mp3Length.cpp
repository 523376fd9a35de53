#include "cue/probes/Mp3Length.h"

#include "cue/probes/HeaderBytes.h"

#include <cmath>
#include <string>

namespace velmora {
namespace {

constexpr std::array<std::uint32_t, 15> kMpeg1KilobitsPerSecond = {0,   32,  40,  48,  56,  64,  80, 96,
                                                                   112, 128, 160, 192, 224, 256, 320};
constexpr std::array<std::uint32_t, 15> kMpeg2KilobitsPerSecond = {0,  8,  16, 24,  32,  40,  48, 56,
                                                                   64, 80, 96, 112, 128, 144, 160};
constexpr std::array<std::uint32_t, 3> kMpeg1SampleRates = {44100, 48000, 32000};
constexpr std::uint64_t kId3v2HeaderSize = 10;
constexpr unsigned char kId3v2FooterFlag = 0x10;
constexpr std::uint64_t kId3v1Size = 128;
// What two neighbouring frames must share: sync, version, layer and sample rate.
constexpr std::uint32_t kSameStreamMask = 0xFFFE0C00;
constexpr std::size_t kXingSize = 16;
constexpr std::uint32_t kFramesFlag = 0x01;
constexpr std::uint32_t kBytesFlag = 0x02;

// Where the first frame should start: after an ID3v2 tag when the file begins with one.
std::optional<std::uint64_t> FirstFrameOffset(ByteSource& stream) {
    std::array<unsigned char, kId3v2HeaderSize> tag{};
    if (!ReadExactly(stream, 0, tag)) {
        return std::nullopt;
    }
    if (Text(tag, 0, 3) != "ID3") {
        return 0;
    }
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < kId3v2HeaderSize; ++i) {
        if (tag[i] >= 0x80) {
            return std::nullopt;
        }
        size = size << 7 | tag[i];
    }
    const bool footer = (tag[5] & kId3v2FooterFlag) != 0;
    return kId3v2HeaderSize + size + (footer ? kId3v2HeaderSize : 0);
}

// What the first frame's header says.
struct FrameHeader {
    std::uint32_t Rate = 0;
    std::uint32_t SamplesPerFrame = 0;
    std::uint32_t Length = 0;
    // Where the Xing or Info header lies: after the side information.
    std::size_t TagOffset = 0;
};

std::optional<FrameHeader> ReadFrameHeader(const std::array<unsigned char, 4>& header) {
    const std::uint32_t version = (header[1] >> 3) & 0x03;
    const bool layer3 = ((header[1] >> 1) & 0x03) == 0x01;
    const std::uint32_t bitRateIndex = header[2] >> 4;
    const std::uint32_t rateIndex = (header[2] >> 2) & 0x03;
    if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0 || version == 0x01 || !layer3 || bitRateIndex == 0 ||
        bitRateIndex >= kMpeg1KilobitsPerSecond.size() || rateIndex >= kMpeg1SampleRates.size()) {
        return std::nullopt;
    }
    const bool mpeg1 = version == 0x03;
    // MPEG 2 halves the rates of MPEG 1, and MPEG 2.5 halves them again.
    const std::uint32_t divisor = mpeg1 ? 1 : version == 0x02 ? 2 : 4;
    FrameHeader frame;
    frame.Rate = kMpeg1SampleRates[rateIndex] / divisor;
    frame.SamplesPerFrame = mpeg1 ? 1152 : 576;
    const std::uint32_t kilobits =
        mpeg1 ? kMpeg1KilobitsPerSecond[bitRateIndex] : kMpeg2KilobitsPerSecond[bitRateIndex];
    frame.Length = frame.SamplesPerFrame / 8 * kilobits * 1000 / frame.Rate + ((header[2] >> 1) & 0x01);
    const bool mono = (header[3] >> 6) == 0x03;
    const std::size_t sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    // Encoders put it there with or without the two bytes of a checksum after the header.
    frame.TagOffset = header.size() + sideInfo;
    return frame;
}

// The bytes of the stream from its first frame, leaving out an ID3v1 tag at the end.
std::uint64_t StreamBytes(ByteSource& stream, std::uint64_t offset) {
    const std::uint64_t size = stream.Size();
    std::array<unsigned char, 3> tag{};
    const bool id3v1 = size >= offset + kId3v1Size && ReadExactly(stream, size - kId3v1Size, tag) &&
                       Text(tag, 0, 3) == "TAG";
    return size - offset - (id3v1 ? kId3v1Size : 0);
}

} // namespace

std::optional<LengthReading> Mp3Length(ByteSource& stream) {
    const std::optional<std::uint64_t> offset = FirstFrameOffset(stream);
    std::array<unsigned char, 4> header{};
    if (!offset || !ReadExactly(stream, *offset, header)) {
        return std::nullopt;
    }
    const std::optional<FrameHeader> first = ReadFrameHeader(header);
    if (!first) {
        return std::nullopt;
    }
    std::array<unsigned char, 4> next{};
    if (!ReadExactly(stream, *offset + first->Length, next) ||
        (BigEndian(header.data(), 4) & kSameStreamMask) != (BigEndian(next.data(), 4) & kSameStreamMask)) {
        return std::nullopt;
    }
    std::string frame(first->Length, '\0');
    if (stream.ReadAt(*offset, frame.data(), frame.size()) != frame.size()) {
        return std::nullopt;
    }
    // The header is where the encoder puts it, and no earlier "Xing" or "Info" could be taken for it.
    const std::size_t xing = frame.find("Xing");
    const std::size_t found = xing != std::string::npos ? xing : frame.find("Info");
    if (found != first->TagOffset || found + kXingSize > frame.size()) {
        return std::nullopt;
    }
    const auto* fields = reinterpret_cast<const unsigned char*>(frame.data()) + found;
    const std::uint32_t flags = BigEndian(fields + 4, 4);
    const std::uint64_t frames = BigEndian(fields + 8, 4);
    if ((flags & kFramesFlag) == 0) {
        return std::nullopt;
    }
    if (frames == 0) {
        return LengthReading::Unknown("its header gives no count of frames");
    }
    std::uint64_t framesPresent = frames;
    if ((flags & kBytesFlag) != 0) {
        const std::uint64_t statedBytes = BigEndian(fields + 12, 4);
        const std::uint64_t present = StreamBytes(stream, *offset);
        if (statedBytes > present) {
            // Only a constant bit rate spreads the frames evenly over the bytes.
            if (xing == found) {
                return LengthReading::Unknown("the file is shorter than its header says");
            }
            framesPresent = frames * present / statedBytes;
        }
    }
    // Reckoned in the same steps as TagLib, so that the rounding is the same: half up, as a positive
    // length plus a half, cut.
    const double millisecondsPerFrame = first->SamplesPerFrame * 1000.0 / first->Rate;
    const double milliseconds = millisecondsPerFrame * static_cast<double>(framesPresent);
    return LengthReading(AudioLength{static_cast<std::uint64_t>(std::floor(milliseconds + 0.5)), 1000});
}

} // namespace velmora
