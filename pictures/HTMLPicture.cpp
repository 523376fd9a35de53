#include "pictures/HTMLPicture.h"

#include "graphics/Canvas.h"
#include "pictures/AsciiCase.h"
#include "pictures/DownLoadThread.h"
#include "pictures/GifFrames.h"
#include "pictures/PictureErrors.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <new>

namespace velmora {

namespace {

constexpr std::int32_t kLogicalPixelsPerInch = 96;
constexpr std::int32_t kHimetricPerInch = 2540;

std::vector<std::uint8_t> ReadAll(std::istream& stream) {
    stream.clear();
    stream.seekg(0);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

} // namespace

THTMLPicture::THTMLPicture(PictureBackend backend) : backend_(backend) {}

THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::CopyFrom(const TPersistent* source) {
    isEmpty_ = true;
    decoded_.reset();
    frameTotal_ = -1;
    nextDeadline_ = -1;
    tickCounter_ = -1;
    // The bytes held so far are about to be replaced or dropped, so they are not decoded again for
    // frame 1: a picture whose old bytes do not decode could otherwise never take new ones.
    frame_ = 1;
    if (!imageData_.empty() && OnFrameChange) {
        OnFrameChange(*this);
    }
    if (source == nullptr) {
        imageData_.clear();
        return;
    }
    const auto* picture = dynamic_cast<const THTMLPicture*>(source);
    if (picture == nullptr) {
        return;
    }
    if (picture != this) {
        imageData_ = picture->imageData_;
    }
    // An empty source makes an empty copy; there is nothing to decode.
    if (!imageData_.empty()) {
        isEmpty_ = false;
        DecodeFrame();
    }
    Changed();
}

void THTMLPicture::Draw(Canvas& canvas, const Rect& rect) const {
    if (QueryEmpty() || !decoded_) {
        return;
    }
    if (stretch_) {
        decoded_->Render(canvas, rect);
        return;
    }
    const std::int32_t width = MulDiv(decoded_->HimetricWidth(), canvas.PixelsPerInchX(), kHimetricPerInch);
    const std::int32_t height = MulDiv(decoded_->HimetricHeight(), canvas.PixelsPerInchY(), kHimetricPerInch);
    decoded_->Render(canvas, Rect{rect.Left, rect.Top, rect.Left + width, rect.Top + height});
}

std::int32_t THTMLPicture::PictureWidth() const {
    return decoded_ ? MulDiv(decoded_->HimetricWidth(), kLogicalPixelsPerInch, kHimetricPerInch) : 0;
}

std::int32_t THTMLPicture::PictureHeight() const {
    return decoded_ ? MulDiv(decoded_->HimetricHeight(), kLogicalPixelsPerInch, kHimetricPerInch) : 0;
}

std::int32_t THTMLPicture::AnimationWidth() const {
    if (!decoded_) {
        return 0;
    }
    return screenWidth_ != 0 ? screenWidth_ : PictureWidth();
}

std::int32_t THTMLPicture::AnimationHeight() const {
    if (!decoded_) {
        return 0;
    }
    return screenHeight_ != 0 ? screenHeight_ : PictureHeight();
}

void THTMLPicture::LoadFile(const std::string& fileName) {
    try {
        std::ifstream file(fileName, std::ios::binary);
        if (!file) {
            isEmpty_ = true;
            return;
        }
        AcceptImageData(ReadAll(file));
        Changed();
    } catch (const std::exception&) {
        isEmpty_ = true;
    }
}

void THTMLPicture::LoadStream(std::istream* stream) {
    if (stream == nullptr) {
        return;
    }
    ReadLayoutData(stream);
    Changed();
}

void THTMLPicture::ReadLayoutData(std::istream* stream) {
    if (stream == nullptr) {
        return;
    }
    AcceptImageData(ReadAll(*stream));
}

void THTMLPicture::WriteLayoutData(std::ostream* stream) const {
    if (stream != nullptr) {
        stream->write(reinterpret_cast<const char*>(imageData_.data()),
                      static_cast<std::streamsize>(imageData_.size()));
    }
}

void THTMLPicture::SaveStream(std::ostream* stream) const {
    WriteLayoutData(stream);
}

void THTMLPicture::LoadResourcePicture(const ResourceLibrary& module, std::string_view name) {
    std::optional<std::vector<std::uint8_t>> bytes = module.FindResource(name);
    if (!bytes) {
        return;
    }
    AcceptImageData(std::move(*bytes));
    Changed();
}

void THTMLPicture::LoadFromAddress(const std::string& address) {
    static constexpr std::string_view kResourcePrefix = "RES://";
    static constexpr std::string_view kFilePrefix = "FILE://";
    if (StartsWithIgnoringAsciiCase(address, kResourcePrefix)) {
        sourceAddress_ = address;
        const std::string_view name = std::string_view(address).substr(kResourcePrefix.size());
        if (!name.empty()) {
            LoadResourcePicture(*backend_.resources, name);
        }
    } else if (StartsWithIgnoringAsciiCase(address, kFilePrefix)) {
        sourceAddress_ = address;
        const std::string path = address.substr(kFilePrefix.size());
        if (!path.empty()) {
            LoadFile(path);
        }
    } else if (!asynchronous_) {
        pendingAddress_ = address;
        sourceAddress_ = address;
    } else if (!busy_) {
        pendingAddress_ = address;
        busy_ = true;
        TDownLoadThread::Start(*this);
    }
}

bool THTMLPicture::IsGifData() const {
    return gif::IsGifData(imageData_);
}

std::int32_t THTMLPicture::CountFrames() {
    if (frameTotal_ != -1) {
        return frameTotal_;
    }
    if (!IsGifData()) {
        return -1;
    }
    frameTotal_ = gif::CountFrameBlocks(imageData_);
    return frameTotal_;
}

std::int32_t THTMLPicture::FrameDelay(std::int32_t frame) const {
    return IsGifData() ? gif::FrameBlockDelay(imageData_, frame) : -1;
}

void THTMLPicture::DecodeFrame() {
    std::vector<std::uint8_t> block;
    try {
        block.reserve(imageData_.size());
    } catch (const std::bad_alloc&) {
        throw Error(std::string(kCouldNotAllocateImage));
    }
    frameLeft_ = 0;
    frameTop_ = 0;
    screenWidth_ = 0;
    screenHeight_ = 0;
    if (IsGifData() && CountFrames() > 0) {
        screenWidth_ = gif::ReadWord(imageData_, 6);
        screenHeight_ = gif::ReadWord(imageData_, 8);
        const gif::SelectedFrame selected = gif::SelectFrame(imageData_, frame_, block);
        frameLeft_ = selected.left;
        frameTop_ = selected.top;
    } else {
        block.assign(imageData_.begin(), imageData_.end());
    }
    PictureDecoder::OpenedStream opened = backend_.decoder->OpenStream(std::move(block));
    if (!opened.created) {
        throw Error(std::string(kCouldNotCreateImageStream));
    }
    if (!opened.stream) {
        throw Error(std::string(kEmptyImageStream));
    }
    decoded_.reset();
    PictureDecoder::Decoded decoded = backend_.decoder->Decode(*opened.stream);
    if (!decoded.accepted) {
        throw Error(std::string(kInvalidImageFormat));
    }
    if (!decoded.picture) {
        throw Error(std::string(kCouldNotLoadImage));
    }
    decoded_ = std::move(decoded.picture);
}

void THTMLPicture::SetFrame(std::int32_t frame) {
    frame_ = frame;
    if (imageData_.empty()) {
        return;
    }
    DecodeFrame();
    if (OnFrameChange) {
        OnFrameChange(*this);
    }
}

void THTMLPicture::AdvanceFrame() {
    frame_ = frame_ < frameTotal_ ? frame_ + 1 : 1;
}

bool THTMLPicture::AnimationTick() {
    if (frameTotal_ < 2 || isEmpty_) {
        return false;
    }
    bool changed = false;
    // In 64 bits: ten times the tick count outgrows 32 bits long before the count itself does.
    if (std::int64_t{tickCounter_} * 10 >= nextDeadline_) {
        AdvanceFrame();
        DecodeFrame();
        nextDeadline_ += FrameDelay(frame_);
        changed = true;
    }
    ++tickCounter_;
    return changed;
}

void THTMLPicture::AcceptImageData(std::vector<std::uint8_t> bytes) {
    imageData_ = std::move(bytes);
    // A count made for the bytes held before would step the new picture through frames it lacks.
    frameTotal_ = -1;
    isEmpty_ = false;
    DecodeFrame();
}

void THTMLPicture::Changed() {
    if (OnChange) {
        OnChange(*this);
    }
}

} // namespace velmora
