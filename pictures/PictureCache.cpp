#include "pictures/PictureCache.h"

#include "pictures/PictureErrors.h"

namespace velmora {

THTMLPictureCache::~THTMLPictureCache() {
    Clear();
}

THTMLPicture& THTMLPictureCache::NewPicture() {
    pictures_.push_back(std::make_unique<THTMLPicture>(backend_));
    return *pictures_.back();
}

THTMLPicture* THTMLPictureCache::PictureByAddress(std::string_view address) const {
    for (const auto& picture : pictures_) {
        if (picture->SourceAddress() == address) {
            return picture.get();
        }
    }
    return nullptr;
}

THTMLPicture& THTMLPictureCache::Items(std::int32_t index) const {
    CheckListIndex(index, Count());
    return *pictures_[static_cast<std::size_t>(index)];
}

void THTMLPictureCache::Clear() {
    for (auto& picture : pictures_) {
        picture.reset();
    }
    pictures_.clear();
}

void THTMLPictureCache::ReleaseAllPictures() {
    Clear();
}

bool THTMLPictureCache::StepAnimations() {
    bool any = false;
    for (const auto& picture : pictures_) {
        any = StepAnimation(*picture) || any;
    }
    return any;
}

} // namespace velmora
