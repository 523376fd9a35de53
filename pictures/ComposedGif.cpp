#include "pictures/ComposedGif.h"

#include <algorithm>
#include <cstddef>

namespace velmora::gif {

namespace {

constexpr std::uint8_t kDisposeToBackground = 2;
constexpr std::uint8_t kDisposeToPrevious = 3;

} // namespace

bool ComposedGif::Fits(std::uint16_t width, std::uint16_t height) {
    return width > 0 && height > 0 && std::int64_t{width} * height <= kMaxPixels;
}

ComposedGif::ComposedGif(std::uint16_t width, std::uint16_t height) : screen_(width, height) {}

ComposedGif::Area ComposedGif::OnScreen(const FrameBlock& block) const {
    return {std::min<std::int32_t>(block.Left, screen_.Width()),
            std::min<std::int32_t>(block.Top, screen_.Height()),
            std::min(block.Left + block.Width, screen_.Width()),
            std::min(block.Top + block.Height, screen_.Height())};
}

void ComposedGif::DisposeOfLastFrame() {
    const Area& area = lastArea_;
    for (std::int32_t y = area.Top; y < area.Bottom; ++y) {
        const auto row = screen_.Row(y).subspan(static_cast<std::size_t>(area.Left),
                                                static_cast<std::size_t>(area.Right - area.Left));
        if (lastDisposal_ == kDisposeToBackground) {
            // The background is shown as transparent, so that the control's colour shows through as it
            // does around the first frame.
            std::fill(row.begin(), row.end(), Argb{0});
        } else if (lastDisposal_ == kDisposeToPrevious) {
            const auto saved = covered_.Row(y - area.Top);
            std::copy(saved.begin(), saved.end(), row.begin());
        }
    }
    lastDisposal_ = 0;
    lastArea_ = {};
}

void ComposedGif::Draw(const FrameBlock& block, const Bitmap& patch) {
    DisposeOfLastFrame();
    const Area area = OnScreen(block);
    if (block.Disposal == kDisposeToPrevious) {
        covered_ = Bitmap(area.Right - area.Left, area.Bottom - area.Top);
        for (std::int32_t y = area.Top; y < area.Bottom; ++y) {
            const auto row = screen_.Row(y).subspan(static_cast<std::size_t>(area.Left),
                                                    static_cast<std::size_t>(area.Right - area.Left));
            std::copy(row.begin(), row.end(), covered_.Row(y - area.Top).begin());
        }
    }
    const std::int32_t right = std::min(area.Right, area.Left + patch.Width());
    const std::int32_t bottom = std::min(area.Bottom, area.Top + patch.Height());
    for (std::int32_t y = area.Top; y < bottom; ++y) {
        const auto from = patch.Row(y - area.Top);
        const auto to = screen_.Row(y);
        for (std::int32_t x = area.Left; x < right; ++x) {
            const Argb pixel = from[static_cast<std::size_t>(x - area.Left)];
            if ((pixel >> 24) != 0) {
                to[static_cast<std::size_t>(x)] = pixel;
            }
        }
    }
    lastDisposal_ = block.Disposal;
    lastArea_ = area;
    ++frame_;
}

void ComposedGif::Pass() {
    DisposeOfLastFrame();
    ++frame_;
}

} // namespace velmora::gif
