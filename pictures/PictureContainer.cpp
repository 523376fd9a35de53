#include "pictures/PictureContainer.h"

#include "pictures/PictureErrors.h"
#include "text/AsciiCase.h"

#include <algorithm>

namespace velmora {

TPictureItem::TPictureItem(TPictureCollection& collection, PictureBackend backend)
    : collection_(&collection), picture_(std::make_unique<THTMLPicture>(backend)) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::SetPicture(const THTMLPicture& value) {
    picture_->CopyFrom(&value);
}

std::int32_t TPictureItem::Index() const {
    return collection_->IndexOf(*this);
}

void TPictureItem::CopyFrom(const TPersistent* source) {
    const auto* item = dynamic_cast<const TPictureItem*>(source);
    if (item == nullptr) {
        RaiseInvalidCast();
    }
    Name = item->Name;
    Tag = item->Tag;
    picture_->CopyFrom(item->picture_.get());
}

TPictureCollection::~TPictureCollection() {
    Clear();
}

TPictureItem& TPictureCollection::Add() {
    items_.push_back(std::unique_ptr<TPictureItem>(new TPictureItem(*this, backend_)));
    return *items_.back();
}

void TPictureCollection::Delete(std::int32_t index) {
    CheckListIndex(index, Count());
    items_.erase(items_.begin() + index);
}

void TPictureCollection::Clear() {
    for (auto& item : items_) {
        item.reset();
    }
    items_.clear();
}

TPictureItem& TPictureCollection::Items(std::int32_t index) const {
    CheckListIndex(index, Count());
    return *items_[static_cast<std::size_t>(index)];
}

std::int32_t TPictureCollection::IndexOf(const TPictureItem& item) const {
    const auto found =
        std::find_if(items_.begin(), items_.end(), [&item](const auto& held) { return held.get() == &item; });
    return found == items_.end() ? -1 : static_cast<std::int32_t>(found - items_.begin());
}

bool TPictureCollection::StepAnimations() {
    bool any = false;
    for (const auto& item : items_) {
        any = StepAnimation(item->Picture()) || any;
    }
    return any;
}

THTMLPicture* TPictureContainer::PictureByName(std::string_view name) const {
    const std::string wanted = UpperAscii(name);
    for (std::int32_t i = 0; i < items_.Count(); ++i) {
        TPictureItem& item = items_.Items(i);
        if (UpperAscii(item.Name) == wanted) {
            return &item.Picture();
        }
    }
    return nullptr;
}

} // namespace velmora
