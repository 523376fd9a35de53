#pragma once

#include "graphics/Bitmap.h"
#include "pictures/GifFrames.h"

#include <cstdint>

namespace velmora::gif {

// An animation's logical screen as its frames build it up: each frame is drawn over what the earlier
// ones left, once the frame before it has been disposed of. Encoders that optimise store only the
// patch that changes, often with transparent pixels where it does not, so a frame alone is not what
// the animation shows. Frames are drawn in order, so a step costs one frame's pixels.
class ComposedGif {
public:
    // Screens larger than this are not composed: the canvas, a saved rectangle and the shown copy must
    // stay within a few hundred megabytes whatever size a file claims.
    static constexpr std::int64_t kMaxPixels = std::int64_t{4096} * 4096;
    static bool Fits(std::uint16_t width, std::uint16_t height);

    // A transparent screen before its first frame.
    ComposedGif(std::uint16_t width, std::uint16_t height);

    // The number of the last frame drawn or passed over; 0 before the first.
    std::int32_t Frame() const { return frame_; }
    const Bitmap& Screen() const { return screen_; }

    // Draws the next frame: `patch` is the visible part of its image, its top-left corner at the
    // block's offset. Transparent pixels leave the screen beneath them; what lies past the screen is
    // left out.
    void Draw(const FrameBlock& block, const Bitmap& patch);
    // Counts the next frame without drawing it, for a frame whose image does not decode.
    void Pass();

private:
    struct Area {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Right = 0;
        std::int32_t Bottom = 0;
    };
    Area OnScreen(const FrameBlock& block) const;
    void DisposeOfLastFrame();

    Bitmap screen_;
    std::int32_t frame_ = 0;
    std::uint8_t lastDisposal_ = 0;
    Area lastArea_;
    // What the last frame covered, when its disposal puts that back.
    Bitmap covered_;
};

} // namespace velmora::gif
