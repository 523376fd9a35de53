#include "cue/probes/Mp3Length.h"

#include "cue/probes/HeaderBytes.h"
#include "messages/Messages.h"

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
constexpr std::size_t kFrameHeaderSize = 4;
// What two frames of one stream share: sync, version, layer and sample rate.
constexpr std::uint32_t kSameStreamMask = 0xFFFE0C00;
constexpr std::size_t kXingSize = 16;
constexpr std::uint32_t kFramesFlag = 0x01;
constexpr std::uint32_t kBytesFlag = 0x02;
// The other encoders' header: "VBRI" a fixed distance into the first frame, its byte and frame counts
// after a version, a delay and a quality.
constexpr std::size_t kVbriOffset = kFrameHeaderSize + 32;
constexpr std::size_t kVbriSize = 18;
// How far past its tags the first frame is looked for: encoders and downloads leave a little junk
// before it, while noise or an unwritten file must not be searched through.
constexpr std::uint64_t kSearchWindow = std::uint64_t{64} << 10;
constexpr std::uint64_t kSearchStep = 4096;
// A file that counts no frames is believed to keep one bit rate when this many frames keep it.
constexpr int kFramesCompared = 32;

constexpr const char* kNoFrame = ForCatalogue("no MPEG audio frame lies near its start");

// Where the first frame should start: after an ID3v2 tag when the file begins with one.
std::uint64_t AfterId3v2(ByteSource& stream) {
    std::array<unsigned char, kId3v2HeaderSize> tag{};
    if (!ReadExactly(stream, 0, tag) || Text(tag, 0, 3) != "ID3") {
        return 0;
    }
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < kId3v2HeaderSize; ++i) {
        if (tag[i] >= 0x80) {
            return 0;
        }
        size = size << 7 | tag[i];
    }
    const bool footer = (tag[5] & kId3v2FooterFlag) != 0;
    return kId3v2HeaderSize + size + (footer ? kId3v2HeaderSize : 0);
}

// What a frame's header says.
struct FrameHeader {
    std::uint32_t Bits = 0;
    std::uint32_t Rate = 0;
    std::uint32_t SamplesPerFrame = 0;
    std::uint32_t Kilobits = 0;
    std::uint32_t Length = 0;
    // Where the Xing or Info header lies: after the side information.
    std::size_t TagOffset = 0;
};

std::optional<FrameHeader> ReadFrameHeader(const unsigned char* header) {
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
    frame.Bits = BigEndian(header, 4);
    frame.Rate = kMpeg1SampleRates[rateIndex] / divisor;
    frame.SamplesPerFrame = mpeg1 ? 1152 : 576;
    frame.Kilobits = mpeg1 ? kMpeg1KilobitsPerSecond[bitRateIndex] : kMpeg2KilobitsPerSecond[bitRateIndex];
    frame.Length = frame.SamplesPerFrame / 8 * frame.Kilobits * 1000 / frame.Rate + ((header[2] >> 1) & 0x01);
    const bool mono = (header[3] >> 6) == 0x03;
    const std::size_t sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    // Encoders put it there with or without the two bytes of a checksum after the header.
    frame.TagOffset = kFrameHeaderSize + sideInfo;
    return frame;
}

std::optional<FrameHeader> FrameAt(ByteSource& stream, std::uint64_t offset) {
    std::array<unsigned char, kFrameHeaderSize> header{};
    return ReadExactly(stream, offset, header) ? ReadFrameHeader(header.data()) : std::nullopt;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
    return (a.Bits & kSameStreamMask) == (b.Bits & kSameStreamMask);
}

// Whether the frame at `offset` is followed by one of its stream, or by the end of the file: two
// headers in a row are rarely chance, one often is.
bool Followed(ByteSource& stream, std::uint64_t offset, const FrameHeader& frame) {
    const std::uint64_t next = offset + frame.Length;
    if (next + kFrameHeaderSize > stream.Size()) {
        return true;
    }
    const std::optional<FrameHeader> following = FrameAt(stream, next);
    return following && SameStream(frame, *following);
}

struct FirstFrame {
    std::uint64_t Offset = 0;
    FrameHeader Header;
};

// The first frame from `from` on, looked for within the search window only, a step at a time: it
// nearly always starts right there. A step's last bytes start the next one, for a header that starts in
// one and ends in the other, so that a step is a page and the first one often the only one read.
std::optional<FirstFrame> FindFirstFrame(ByteSource& stream, std::uint64_t from) {
    const std::uint64_t end = std::min(stream.Size(), from + kSearchWindow);
    for (std::uint64_t begin = from; begin < end; begin += kSearchStep - (kFrameHeaderSize - 1)) {
        const std::string_view window =
            stream.View(begin, static_cast<std::size_t>(std::min(end - begin, kSearchStep)));
        const auto* bytes = reinterpret_cast<const unsigned char*>(window.data());
        for (std::size_t at = 0; at + kFrameHeaderSize <= window.size(); ++at) {
            if (bytes[at] != 0xFF) {
                continue;
            }
            const std::optional<FrameHeader> frame = ReadFrameHeader(bytes + at);
            if (frame && Followed(stream, begin + at, *frame)) {
                return FirstFrame{begin + at, *frame};
            }
        }
    }
    return std::nullopt;
}

// The bytes of the stream from its first frame, leaving out an ID3v1 tag at the end.
std::uint64_t StreamBytes(ByteSource& stream, std::uint64_t offset) {
    const std::uint64_t size = stream.Size();
    std::array<unsigned char, 3> tag{};
    const bool id3v1 = size >= offset + kId3v1Size && ReadExactly(stream, size - kId3v1Size, tag) &&
                       Text(tag, 0, 3) == "TAG";
    return size - offset - (id3v1 ? kId3v1Size : 0);
}

// What the encoder counted in the first frame's header: frames, and the bytes they take when known.
struct Counts {
    std::uint64_t Frames = 0;
    std::optional<std::uint64_t> Bytes;
    // Only a constant bit rate spreads the frames evenly over the bytes.
    bool ConstantBitRate = false;
};

std::optional<Counts> CountsIn(const std::string& frame, const FrameHeader& header) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(frame.data());
    // The header is where the encoder puts it, and no earlier "Xing" or "Info" could be taken for it.
    const std::size_t xing = frame.find("Xing");
    const std::size_t found = xing != std::string::npos ? xing : frame.find("Info");
    if (found == header.TagOffset && found + kXingSize <= frame.size()) {
        const std::uint32_t flags = BigEndian(bytes + found + 4, 4);
        if ((flags & kFramesFlag) == 0) {
            return std::nullopt;
        }
        Counts counts{BigEndian(bytes + found + 8, 4), std::nullopt, xing != found};
        if ((flags & kBytesFlag) != 0) {
            counts.Bytes = BigEndian(bytes + found + 12, 4);
        }
        return counts;
    }
    if (frame.compare(kVbriOffset, 4, "VBRI") == 0 && kVbriOffset + kVbriSize <= frame.size()) {
        return Counts{BigEndian(bytes + kVbriOffset + 14, 4), BigEndian(bytes + kVbriOffset + 10, 4), false};
    }
    return std::nullopt;
}

// Half up, as a positive length plus a half, cut.
LengthReading Milliseconds(double milliseconds) {
    return LengthReading(AudioLength{static_cast<std::uint64_t>(std::floor(milliseconds + 0.5)), 1000});
}

LengthReading FromCounts(ByteSource& stream, const FirstFrame& first, const Counts& counts) {
    if (counts.Frames == 0) {
        return LengthReading::Unknown(Localized("its header gives no count of frames"));
    }
    std::uint64_t framesPresent = counts.Frames;
    const std::uint64_t present = StreamBytes(stream, first.Offset);
    if (counts.Bytes && *counts.Bytes > present) {
        if (!counts.ConstantBitRate) {
            return ShorterThanItsHeader();
        }
        framesPresent = counts.Frames * present / *counts.Bytes;
    }
    const double millisecondsPerFrame = first.Header.SamplesPerFrame * 1000.0 / first.Header.Rate;
    return Milliseconds(millisecondsPerFrame * static_cast<double>(framesPresent));
}

// A stream no header counts: as long as its bytes at its bit rate, when its first frames share one.
LengthReading FromBitRate(ByteSource& stream, const FirstFrame& first) {
    std::uint64_t offset = first.Offset;
    for (int i = 0; i < kFramesCompared; ++i) {
        const std::optional<FrameHeader> frame = FrameAt(stream, offset);
        if (!frame || !SameStream(*frame, first.Header)) {
            break;
        }
        if (frame->Kilobits != first.Header.Kilobits) {
            return LengthReading::Unknown(Localized("its frames are not counted and their bit rate varies"));
        }
        offset += frame->Length;
    }
    // Bits at kilobits a second are milliseconds.
    return Milliseconds(static_cast<double>(StreamBytes(stream, first.Offset)) * 8 / first.Header.Kilobits);
}

} // namespace

std::optional<LengthReading> Mp3Length(ByteSource& stream) {
    const std::optional<FirstFrame> first = FindFirstFrame(stream, AfterId3v2(stream));
    if (!first) {
        return LengthReading::Unknown(Localized(kNoFrame));
    }
    std::string frame(first->Header.Length, '\0');
    frame.resize(stream.ReadAt(first->Offset, frame.data(), frame.size()));
    const std::optional<Counts> counts = CountsIn(frame, first->Header);
    return counts ? FromCounts(stream, *first, *counts) : FromBitRate(stream, *first);
}

} // namespace velmora
