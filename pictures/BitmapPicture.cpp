#include "pictures/BitmapPicture.h"

#include "graphics/Canvas.h"

namespace velmora {

std::unique_ptr<BitmapPicture> BitmapPicture::AtScreenResolution(Bitmap pixels) {
    constexpr std::int32_t kScreenPixelsPerInch = 96;
    constexpr std::int32_t kHimetricPerInch = 2540;
    const std::int32_t width = MulDiv(pixels.Width(), kHimetricPerInch, kScreenPixelsPerInch);
    const std::int32_t height = MulDiv(pixels.Height(), kHimetricPerInch, kScreenPixelsPerInch);
    return std::make_unique<BitmapPicture>(std::move(pixels), width, height);
}

void BitmapPicture::Render(Canvas& canvas, const Rect& target) const {
    if (target.Width() == pixels_.Width() && target.Height() == pixels_.Height()) {
        canvas.DrawBitmap(target.Left, target.Top, pixels_);
    } else {
        canvas.StretchDrawBitmap(target, pixels_);
    }
}

} // namespace velmora
