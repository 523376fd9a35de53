#include "cue/taglib/Mp3Length.h"

#include "cue/taglib/HeaderBytes.h"

#include <cmath>
#include <string>

namespace velmora {
namespace {

constexpr std::array<std::uint32_t, 15> kLayer3KilobitsPerSecond = {0,   32,  40,  48,  56,  64,  80, 96,
                                                                    112, 128, 160, 192, 224, 256, 320};
constexpr std::array<std::uint32_t, 3> kMpeg1SampleRates = {44100, 48000, 32000};
constexpr std::uint32_t kSamplesPerFrame = 1152;
constexpr std::uint64_t kId3v2HeaderSize = 10;
constexpr unsigned char kId3v2FooterFlag = 0x10;
// What two neighbouring frames must share: sync, version, layer and sample rate.
constexpr std::uint32_t kSameStreamMask = 0xFFFE0C00;
// The side information of the first frame, which the Xing or Info header follows.
constexpr std::size_t kMonoSideInfo = 17;
constexpr std::size_t kStereoSideInfo = 32;
constexpr std::size_t kXingSize = 16;
constexpr std::uint32_t kFramesAndBytesFlags = 0x03;

// Where the first frame should start: after an ID3v2 tag when the file begins with one.
std::optional<std::uint64_t> FirstFrameOffset(HeaderStream& stream) {
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

} // namespace

std::optional<AudioLength> Mp3Length(HeaderStream& stream) {
    const std::optional<std::uint64_t> offset = FirstFrameOffset(stream);
    std::array<unsigned char, 4> header{};
    if (!offset || !ReadExactly(stream, *offset, header)) {
        return std::nullopt;
    }
    // MPEG-1 Layer III without a checksum: 0xFFFB, then the bit rate, the sample rate and the padding.
    const std::uint32_t bitRateIndex = header[2] >> 4;
    const std::uint32_t sampleRateIndex = (header[2] >> 2) & 0x03;
    if (header[0] != 0xFF || header[1] != 0xFB || bitRateIndex == 0 ||
        bitRateIndex >= kLayer3KilobitsPerSecond.size() || sampleRateIndex >= kMpeg1SampleRates.size()) {
        return std::nullopt;
    }
    const std::uint32_t rate = kMpeg1SampleRates[sampleRateIndex];
    const std::uint32_t frameLength =
        kSamplesPerFrame / 8 * kLayer3KilobitsPerSecond[bitRateIndex] * 1000 / rate +
        ((header[2] >> 1) & 0x01);
    std::array<unsigned char, 4> next{};
    if (!ReadExactly(stream, *offset + frameLength, next) ||
        (BigEndian(header.data(), 4) & kSameStreamMask) != (BigEndian(next.data(), 4) & kSameStreamMask)) {
        return std::nullopt;
    }
    std::string frame(frameLength, '\0');
    if (stream.ReadAt(*offset, frame.data(), frame.size()) != frame.size()) {
        return std::nullopt;
    }
    // The header is where the encoder puts it, and no earlier "Xing" or "Info" could be taken for it.
    const bool mono = (header[3] >> 6) == 0x03;
    const std::size_t at = header.size() + (mono ? kMonoSideInfo : kStereoSideInfo);
    const std::size_t xing = frame.find("Xing");
    const std::size_t found = xing != std::string::npos ? xing : frame.find("Info");
    if (found != at || at + kXingSize > frame.size()) {
        return std::nullopt;
    }
    const auto* fields = reinterpret_cast<const unsigned char*>(frame.data()) + at;
    const std::uint32_t frames = BigEndian(fields + 8, 4);
    if ((fields[7] & kFramesAndBytesFlags) != kFramesAndBytesFlags || frames == 0 ||
        BigEndian(fields + 12, 4) == 0) {
        return std::nullopt;
    }
    // Reckoned in the same steps as TagLib, so that the rounding is the same: half up, as a positive
    // length plus a half, cut.
    const double millisecondsPerFrame = kSamplesPerFrame * 1000.0 / rate;
    const double milliseconds = millisecondsPerFrame * frames;
    const auto rounded = static_cast<std::uint64_t>(std::floor(milliseconds + 0.5));
    if (rounded == 0) {
        return std::nullopt;
    }
    return AudioLength{rounded, 1000};
}

} // namespace velmora
