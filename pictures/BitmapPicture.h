#pragma once

#include "graphics/Bitmap.h"
#include "pictures/PictureDecoder.h"

namespace velmora {

// A decoded picture held as pixels, with the himetric size its decoder reported.
class BitmapPicture final : public DecodedPicture {
public:
    BitmapPicture(Bitmap pixels, std::int32_t himetricWidth, std::int32_t himetricHeight)
        : pixels_(std::move(pixels)), himetricWidth_(himetricWidth), himetricHeight_(himetricHeight) {}

    // Pixels at 96 per inch, the resolution decoders assume for pictures that carry none.
    static std::unique_ptr<BitmapPicture> AtScreenResolution(Bitmap pixels);

    std::int32_t HimetricWidth() const override { return himetricWidth_; }
    std::int32_t HimetricHeight() const override { return himetricHeight_; }
    void Render(Canvas& canvas, const Rect& target) const override;

    const Bitmap& Pixels() const { return pixels_; }

private:
    Bitmap pixels_;
    std::int32_t himetricWidth_;
    std::int32_t himetricHeight_;
};

} // namespace velmora
