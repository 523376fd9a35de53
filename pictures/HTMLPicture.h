#pragma once

#include "pictures/ComposedGif.h"
#include "pictures/GifFrames.h"
#include "pictures/Persistent.h"
#include "pictures/PictureDecoder.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class THTMLPicture;

using TPictureNotifyEvent = std::function<void(THTMLPicture& sender)>;
using TDownloadErrorEvent = std::function<void(THTMLPicture& sender, const std::string& err)>;
using TDownloadCompleteEvent = std::function<void(THTMLPicture& sender)>;
using TDownloadCancelEvent = std::function<void(THTMLPicture& sender, bool& cancel)>;
using TDownloadProgressEvent =
    std::function<void(THTMLPicture& sender, std::uint32_t dwSize, std::uint32_t dwTotSize)>;

// A picture for marked-up text. It keeps the file bytes exactly as loaded and decodes one frame of
// them at a time; animated GIF data is stepped frame by frame by AnimationTick, whose calls are the
// animation's clock (one call per 100 ms of animation time), so whoever drives the ticks owns the time.
// Everything runs on the user-interface thread.
class THTMLPicture : public TPersistent {
public:
    explicit THTMLPicture(PictureBackend backend);
    ~THTMLPicture() override;
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;

    // Takes over the bytes of another THTMLPicture (none empties this picture; any other class leaves
    // the bytes alone). The frame goes back to 1 and the animation starts over; Stretch and the
    // addresses stay this picture's own.
    void CopyFrom(const TPersistent* source);

    // At the picture's own size for the canvas's device at the rectangle's top-left corner, or
    // stretched over the whole rectangle when Stretch is set.
    void Draw(Canvas& canvas, const Rect& rect) const;

    bool QueryEmpty() const { return isEmpty_; }
    // Size of the decoded frame at 96 pixels per inch; 0 without one.
    std::int32_t PictureWidth() const;
    std::int32_t PictureHeight() const;
    // The GIF logical screen when there is one, else the picture's own size.
    std::int32_t AnimationWidth() const;
    std::int32_t AnimationHeight() const;

    // Never raises: a file that cannot be read or decoded leaves the picture empty.
    void LoadFile(const std::string& fileName);
    // The stream is rewound and read whole; decoding errors reach the caller. Nothing for none.
    void LoadStream(std::istream* stream);
    // LoadStream for a window layout being read: no OnChange.
    void ReadLayoutData(std::istream* stream);
    void WriteLayoutData(std::ostream* stream) const;
    void SaveStream(std::ostream* stream) const;
    // Nothing when the library has no resource of that name.
    void LoadResourcePicture(const ResourceLibrary& module, std::string_view name);
    // "RES://name" and "FILE://path" (prefixes in any case) load; any other address is only recorded
    // while synchronous, or handed to a TDownLoadThread while asynchronous. Nothing is ever fetched.
    void LoadFromAddress(const std::string& address);

    bool IsGifData() const;
    // Number of GIF frame blocks, counted once and cached; -1 for data that is not GIF.
    std::int32_t CountFrames();
    // Delay of a frame in hundredths of a second; -1 when not GIF or there is no such frame.
    std::int32_t FrameDelay(std::int32_t frame) const;
    void DecodeFrame();

    std::int32_t Frame() const { return frame_; }
    // Decodes the new frame and raises OnFrameChange when there are bytes to decode.
    void SetFrame(std::int32_t frame);
    void AdvanceFrame();
    // One 100 ms animation step; true when it showed another frame. A frame that does not decode
    // raises, but the picture keeps showing the last frame that did, and the clock has moved on.
    bool AnimationTick();

    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch) { stretch_ = stretch; }
    bool Asynchronous() const { return asynchronous_; }
    void SetAsynchronous(bool asynchronous) { asynchronous_ = asynchronous; }
    bool Busy() const { return busy_; }

    const std::vector<std::uint8_t>& ImageData() const { return imageData_; }
    const std::string& SourceAddress() const { return sourceAddress_; }
    const std::string& PendingAddress() const { return pendingAddress_; }
    std::int32_t FrameTotal() const { return frameTotal_; }
    // Where the decoded picture sits on the logical screen: 0 for a composed frame, which covers it.
    std::uint16_t FrameLeft() const { return frameLeft_; }
    std::uint16_t FrameTop() const { return frameTop_; }
    std::uint16_t ScreenWidth() const { return screenWidth_; }
    std::uint16_t ScreenHeight() const { return screenHeight_; }
    const DecodedPicture* Decoded() const { return decoded_.get(); }

    TPictureNotifyEvent OnChange;
    TPictureNotifyEvent OnFrameChange;
    // Kept for the layouts that bind them; nothing is downloaded, so they are never raised.
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

private:
    // Holds new bytes, no longer empty, and decodes them.
    void AcceptImageData(std::vector<std::uint8_t> bytes);
    void Changed();
    // The frame blocks of the bytes held, found once per data.
    const std::vector<gif::FrameBlock>& FrameIndex() const;
    void ShowFrameKeepingLastOnError();
    // Decodes the bytes of one picture (a whole file, or a frame taken out of one).
    std::unique_ptr<DecodedPicture> DecodeBlock(std::vector<std::uint8_t> block);
    // Shows frame_ as the animation composes it, drawing the frames after the last one composed (all
    // from the first when going back).
    void ComposeFrame();
    void DrawOnScreen(std::int32_t frame);

    PictureBackend backend_;
    std::vector<std::uint8_t> imageData_;
    mutable std::optional<std::vector<gif::FrameBlock>> frameIndex_;
    bool isEmpty_ = true;
    bool stretch_ = false;
    std::unique_ptr<DecodedPicture> decoded_;
    // The animation's screen, kept between frames; made again when the bytes change or a frame goes back.
    std::unique_ptr<gif::ComposedGif> composed_;
    std::string pendingAddress_;
    std::string sourceAddress_;
    bool asynchronous_ = true;
    bool busy_ = false;
    std::int32_t frame_ = 1;
    std::int32_t frameTotal_ = -1;
    std::uint16_t frameLeft_ = 0;
    std::uint16_t frameTop_ = 0;
    std::uint16_t screenWidth_ = 0;
    std::uint16_t screenHeight_ = 0;
    std::int32_t nextDeadline_ = -1;
    std::int32_t tickCounter_ = -1;
};

// AnimationTick for the pictures a control's timer steps. A frame that does not decode is passed over as
// markup passes over a picture that does not load: the picture keeps its last good frame, the caller
// steps the others on, and no error leaves the timer (where each would open a box of its own).
bool StepAnimation(THTMLPicture& picture);

} // namespace velmora
