#pragma once

#include "pictures/HTMLPicture.h"
#include "pictures/Persistent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class TPictureCollection;
class TPictureContainer;

// A named picture of a container. The item owns its picture for its whole life: assigning a picture
// copies the other picture's bytes into it.
class TPictureItem : public TPersistent {
public:
    ~TPictureItem() override;
    TPictureItem(const TPictureItem&) = delete;
    TPictureItem& operator=(const TPictureItem&) = delete;

    THTMLPicture& Picture() { return *picture_; }
    const THTMLPicture& Picture() const { return *picture_; }
    void SetPicture(const THTMLPicture& value);

    std::int32_t Tag = 0;
    std::string Name;

    TPictureCollection& Collection() const { return *collection_; }
    std::int32_t Index() const;

    // Name, Tag and the picture's bytes of another item; any other source, none included, raises the
    // framework's invalid type-cast error.
    void CopyFrom(const TPersistent* source);

private:
    friend class TPictureCollection;
    TPictureItem(TPictureCollection& collection, PictureBackend backend);

    TPictureCollection* collection_;
    std::unique_ptr<THTMLPicture> picture_;
};

// The items of a TPictureContainer, in index order; it owns them.
class TPictureCollection {
public:
    TPictureCollection(TPictureContainer& owner, PictureBackend backend)
        : owner_(&owner), backend_(backend) {}
    ~TPictureCollection();
    TPictureCollection(const TPictureCollection&) = delete;
    TPictureCollection& operator=(const TPictureCollection&) = delete;

    TPictureContainer& Owner() const { return *owner_; }

    TPictureItem& Add();
    void Delete(std::int32_t index);
    void Clear();
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    TPictureItem& Items(std::int32_t index) const;
    std::int32_t IndexOf(const TPictureItem& item) const;

    // One animation tick for the picture of every item, none skipped; true when any changed frame.
    bool StepAnimations();

private:
    TPictureContainer* owner_;
    PictureBackend backend_;
    std::vector<std::unique_ptr<TPictureItem>> items_;
};

// Named pictures that markup text shows by name. Markup controls only refer to a container; whoever
// holds the container must make them drop that reference before it goes.
class TPictureContainer {
public:
    explicit TPictureContainer(PictureBackend backend) : items_(*this, backend) {}
    TPictureContainer(const TPictureContainer&) = delete;
    TPictureContainer& operator=(const TPictureContainer&) = delete;

    std::string Name;
    std::int32_t Tag = 0;

    TPictureCollection& Items() { return items_; }
    const TPictureCollection& Items() const { return items_; }

    // The picture of the first item whose Name equals `name`, letters a-z compared without case.
    THTMLPicture* PictureByName(std::string_view name) const;

private:
    TPictureCollection items_;
};

} // namespace velmora
