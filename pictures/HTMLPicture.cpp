#include "pictures/HTMLPicture.h"

#include "graphics/Canvas.h"
#include "pictures/BitmapPicture.h"
#include "pictures/DownLoadThread.h"
#include "pictures/GifFrames.h"
#include "pictures/PictureErrors.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <iterator>
#include <limits>
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
        frameIndex_.reset();
        composed_.reset();
        return;
    }
    const auto* picture = dynamic_cast<const THTMLPicture*>(source);
    if (picture == nullptr) {
        return;
    }
    if (picture != this) {
        imageData_ = picture->imageData_;
        frameIndex_.reset();
    }
    composed_.reset();
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
            LoadResourcePicture(*backend_.Resources, name);
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

const std::vector<gif::FrameBlock>& THTMLPicture::FrameIndex() const {
    if (!frameIndex_) {
        frameIndex_ = gif::IndexFrameBlocks(imageData_);
    }
    return *frameIndex_;
}

std::int32_t THTMLPicture::CountFrames() {
    if (frameTotal_ != -1) {
        return frameTotal_;
    }
    if (!IsGifData()) {
        return -1;
    }
    frameTotal_ = static_cast<std::int32_t>(
        std::min<std::size_t>(FrameIndex().size(), std::numeric_limits<std::int32_t>::max()));
    return frameTotal_;
}

std::int32_t THTMLPicture::FrameDelay(std::int32_t frame) const {
    if (!IsGifData() || frame < 1 || static_cast<std::size_t>(frame) > FrameIndex().size()) {
        return -1;
    }
    return FrameIndex()[static_cast<std::size_t>(frame) - 1].Delay;
}

void THTMLPicture::DecodeFrame() {
    const bool animated = IsGifData() && CountFrames() > 0;
    screenWidth_ = animated ? gif::ReadWord(imageData_, 6) : 0;
    screenHeight_ = animated ? gif::ReadWord(imageData_, 8) : 0;
    // A still picture has nothing to compose and is decoded as it stands.
    if (frameTotal_ > 1 && frame_ >= 1 && frame_ <= frameTotal_ &&
        gif::ComposedGif::Fits(screenWidth_, screenHeight_)) {
        ComposeFrame();
        return;
    }
    std::vector<std::uint8_t> block;
    gif::SelectedFrame selected;
    try {
        if (animated) {
            selected = gif::SelectFrame(imageData_, FrameIndex(), frame_, block);
        } else {
            block = imageData_;
        }
    } catch (const std::bad_alloc&) {
        throw Error(std::string(kCouldNotAllocateImage));
    }
    frameLeft_ = selected.Left;
    frameTop_ = selected.Top;
    decoded_ = DecodeBlock(std::move(block));
}

std::unique_ptr<DecodedPicture> THTMLPicture::DecodeBlock(std::vector<std::uint8_t> block) {
    PictureDecoder::OpenedStream opened = backend_.Decoder->OpenStream(std::move(block));
    if (!opened.Created) {
        throw Error(std::string(kCouldNotCreateImageStream));
    }
    if (!opened.Stream) {
        throw Error(std::string(kEmptyImageStream));
    }
    // A picture that the decoder refuses shows nothing, where one that could not be streamed keeps
    // showing what it did.
    decoded_.reset();
    PictureDecoder::Decoded decoded = backend_.Decoder->Decode(*opened.Stream);
    if (!decoded.Accepted) {
        throw Error(std::string(kInvalidImageFormat));
    }
    if (!decoded.Picture) {
        throw Error(std::string(kCouldNotLoadImage));
    }
    return std::move(decoded.Picture);
}

void THTMLPicture::ComposeFrame() {
    try {
        if (!composed_ || composed_->Frame() >= frame_) {
            composed_ = std::make_unique<gif::ComposedGif>(screenWidth_, screenHeight_);
        }
        frameLeft_ = 0;
        frameTop_ = 0;
        while (composed_->Frame() < frame_) {
            const std::int32_t next = composed_->Frame() + 1;
            try {
                DrawOnScreen(next);
            } catch (const Error&) {
                // Frames on the way are passed over as a tick passes over them; only the one asked
                // for reports that it does not decode.
                composed_->Pass();
                if (next == frame_) {
                    throw;
                }
            }
        }
        decoded_ = BitmapPicture::AtScreenResolution(composed_->Screen());
    } catch (const std::bad_alloc&) {
        composed_.reset();
        throw Error(std::string(kCouldNotAllocateImage));
    }
}

void THTMLPicture::DrawOnScreen(std::int32_t frame) {
    const gif::FrameBlock& block = FrameIndex()[static_cast<std::size_t>(frame) - 1];
    if (block.Width == 0 || block.Height == 0 || block.Left >= screenWidth_ || block.Top >= screenHeight_) {
        // Nothing of it would show, and a decoder refuses an image without pixels.
        composed_->Draw(block, Bitmap());
        return;
    }
    std::vector<std::uint8_t> bytes;
    gif::SelectFrame(imageData_, FrameIndex(), frame, bytes);
    const std::unique_ptr<DecodedPicture> patch = DecodeBlock(std::move(bytes));
    const auto* pixels = dynamic_cast<const BitmapPicture*>(patch.get());
    if (pixels == nullptr) {
        throw Error(std::string(kCouldNotLoadImage));
    }
    composed_->Draw(block, pixels->Pixels());
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
    // In 64 bits: ten times the tick count outgrows 32 bits long before the count itself does.
    const bool due = std::int64_t{tickCounter_} * 10 >= nextDeadline_;
    ++tickCounter_;
    if (!due) {
        return false;
    }
    AdvanceFrame();
    nextDeadline_ += FrameDelay(frame_);
    ShowFrameKeepingLastOnError();
    return true;
}

void THTMLPicture::ShowFrameKeepingLastOnError() {
    std::unique_ptr<DecodedPicture> shown = std::move(decoded_);
    const std::uint16_t left = frameLeft_;
    const std::uint16_t top = frameTop_;
    try {
        DecodeFrame();
    } catch (const Error&) {
        // A frame that does not decode leaves the animation where it was on screen; its clock and
        // frame number have moved on, so the next frame is tried when it is due.
        decoded_ = std::move(shown);
        frameLeft_ = left;
        frameTop_ = top;
        throw;
    }
}

void THTMLPicture::AcceptImageData(std::vector<std::uint8_t> bytes) {
    imageData_ = std::move(bytes);
    frameIndex_.reset();
    composed_.reset();
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

bool StepAnimation(THTMLPicture& picture) {
    try {
        return picture.AnimationTick();
    } catch (const Error&) {
        return false;
    }
}

} // namespace velmora
