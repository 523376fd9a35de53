#include "graphics/ImageList.h"

#include <algorithm>

namespace velmora {

ImageList::ImageList(std::int32_t width, std::int32_t height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {}

ImageList::~ImageList() {
    for (ImageListLink* link : links_) {
        link->list_ = nullptr;
    }
}

std::int32_t ImageList::Add(const Bitmap& strip) {
    const auto first = Count();
    const std::int32_t pieces = width_ > 0 ? std::max(1, strip.Width() / width_) : 1;
    for (std::int32_t piece = 0; piece < pieces; ++piece) {
        Bitmap image(width_, height_);
        const std::int32_t left = piece * width_;
        for (std::int32_t y = 0; y < std::min(height_, strip.Height()); ++y) {
            for (std::int32_t x = 0; x < width_ && left + x < strip.Width(); ++x) {
                image.SetPixel(x, y, strip.Pixel(left + x, y));
            }
        }
        images_.push_back(std::move(image));
    }
    Changed();
    return first;
}

void ImageList::Clear() {
    images_.clear();
    Changed();
}

Bitmap ImageList::Image(std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return images_[static_cast<std::size_t>(index)];
}

void ImageList::Draw(Canvas& canvas, std::int32_t x, std::int32_t y, std::int32_t index) const {
    if (index >= 0 && index < Count()) {
        canvas.DrawBitmap(x, y, images_[static_cast<std::size_t>(index)]);
    }
}

void ImageList::Changed() const {
    // A listener may attach, detach or destroy links while it is told: only links still listening
    // are told.
    const std::vector<ImageListLink*> links = links_;
    for (ImageListLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->onChange_) {
            link->onChange_();
        }
    }
}

void ImageListLink::Attach(ImageList* list) {
    if (list_ == list) {
        return;
    }
    if (list_ != nullptr) {
        std::erase(list_->links_, this);
    }
    list_ = list;
    if (list_ != nullptr) {
        list_->links_.push_back(this);
    }
}

} // namespace velmora
