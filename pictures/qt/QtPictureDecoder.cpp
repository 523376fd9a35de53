#include "pictures/qt/QtPictureDecoder.h"

#include "pictures/BitmapPicture.h"
#include "pictures/GifFrames.h"
#include "pictures/qt/QtResourceLibrary.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace velmora {

namespace {

class BufferStream final : public PictureStream {
public:
    // The buffer reads the block in place; the block lives as long as the stream.
    explicit BufferStream(std::vector<std::uint8_t> block)
        : block_(std::move(block)),
          bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(block_.data()),
                                         static_cast<qsizetype>(block_.size()))) {
        buffer_.setBuffer(&bytes_);
    }
    bool Open() { return buffer_.open(QIODevice::ReadOnly); }
    QBuffer& Device() { return buffer_; }

private:
    std::vector<std::uint8_t> block_;
    QByteArray bytes_;
    QBuffer buffer_;
};

bool IsWantedFormat(const QByteArray& format) {
    static constexpr std::array<const char*, 5> kFormats = {"gif", "jpeg", "png", "bmp", "ico"};
    return std::any_of(kFormats.begin(), kFormats.end(),
                       [&format](const char* wanted) { return format == wanted; });
}

// The rectangle of a GIF's first image inside its logical screen, found by walking the blocks.
std::optional<QRect> FirstGifImage(std::span<const std::uint8_t> data) {
    constexpr std::size_t kHeaderAndScreen = 13;
    if (data.size() < kHeaderAndScreen) {
        return std::nullopt;
    }
    std::size_t p = kHeaderAndScreen;
    const std::uint8_t screenFlags = data[10];
    if ((screenFlags & 0x80) != 0) {
        p += std::size_t{3} * (std::size_t{2} << (screenFlags & 0x07));
    }
    while (p < data.size()) {
        if (data[p] == 0x2C) {
            if (p + 9 > data.size()) {
                return std::nullopt;
            }
            return QRect(gif::ReadWord(data, p + 1), gif::ReadWord(data, p + 3), gif::ReadWord(data, p + 5),
                         gif::ReadWord(data, p + 7));
        }
        if (data[p] != 0x21) {
            return std::nullopt;
        }
        p += 2;
        while (p < data.size() && data[p] != 0) {
            p += 1u + data[p];
        }
        ++p;
    }
    return std::nullopt;
}

Bitmap ToBitmap(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::copy(row, row + argb.width(), bitmap.Row(y).begin());
    }
    return bitmap;
}

} // namespace

PictureDecoder::OpenedStream QtPictureDecoder::OpenStream(std::vector<std::uint8_t> block) {
    auto stream = std::make_unique<BufferStream>(std::move(block));
    if (!stream->Open()) {
        return {};
    }
    return {true, std::move(stream)};
}

PictureDecoder::Decoded QtPictureDecoder::Decode(PictureStream& stream) {
    auto& buffer = dynamic_cast<BufferStream&>(stream);
    QImageReader reader(&buffer.Device());
    // Asked before reading: the reader forgets the format once it has read the image.
    const QByteArray format = reader.format();
    if (!IsWantedFormat(format)) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    if (format == "gif") {
        const QByteArray& bytes = buffer.Device().data();
        const std::optional<QRect> frame =
            FirstGifImage({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size())});
        if (frame) {
            const QRect visible = frame->intersected(image.rect());
            if (visible.isEmpty()) {
                return {};
            }
            image = image.copy(visible);
        }
    }
    return {true, BitmapPicture::AtScreenResolution(ToBitmap(image))};
}

PictureBackend QtPictureBackend() {
    static QtPictureDecoder decoder;
    static const QtResourceLibrary resources;
    return {&decoder, &resources};
}

} // namespace velmora
