#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora {

class ImageListLink;

// Pictures of one size, numbered from 0: the markup's IDX sources and the controls' Images property.
// The list owns its bitmaps. Whoever changes it tells its links; a list ends its links' attachment
// when it is destroyed, and a link leaves its list when it is.
class ImageList {
public:
    ImageList(std::int32_t width, std::int32_t height);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Count() const { return static_cast<std::int32_t>(images_.size()); }

    // Cuts a strip into images from left to right: one image
    // for every whole image width, at least one; parts beyond an image's size are left out and parts
    // it lacks stay transparent. Returns the number of the first image added.
    std::int32_t Add(const Bitmap& strip);
    void Clear();

    // A copy of image `index`; an empty bitmap for a number outside the list.
    Bitmap Image(std::int32_t index) const;
    // Draws image `index` at its size in its enabled state; nothing for a number outside the list.
    void Draw(Canvas& canvas, std::int32_t x, std::int32_t y, std::int32_t index) const;

private:
    friend class ImageListLink;
    void Changed() const;

    std::int32_t width_;
    std::int32_t height_;
    std::vector<Bitmap> images_;
    std::vector<ImageListLink*> links_;
};

// A change notification from one image list at a time, owned by whoever listens (a control).
class ImageListLink {
public:
    explicit ImageListLink(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
    ~ImageListLink() { Attach(nullptr); }
    ImageListLink(const ImageListLink&) = delete;
    ImageListLink& operator=(const ImageListLink&) = delete;

    // Listens to `list` from now on, and no longer to the list before; nullptr listens to none.
    void Attach(ImageList* list);
    ImageList* List() const { return list_; }

private:
    friend class ImageList;

    std::function<void()> onChange_;
    ImageList* list_ = nullptr;
};

} // namespace velmora
