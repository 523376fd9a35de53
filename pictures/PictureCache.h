#pragma once

#include "pictures/HTMLPicture.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora {

// The pictures a markup control has met by address, in the order they were added. It owns them; they
// live until Clear, ReleaseAllPictures or the cache's end. Pictures whose address could not be loaded
// stay too, so a failed address is not tried again.
class THTMLPictureCache {
public:
    explicit THTMLPictureCache(PictureBackend backend) : backend_(backend) {}
    ~THTMLPictureCache();
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    // An empty, asynchronous picture appended to the cache.
    THTMLPicture& NewPicture();
    // The first picture whose SourceAddress equals the address exactly, case included; none otherwise.
    THTMLPicture* PictureByAddress(std::string_view address) const;

    std::int32_t Count() const { return static_cast<std::int32_t>(pictures_.size()); }
    THTMLPicture& Items(std::int32_t index) const;

    // Frees every picture, first to last.
    void Clear();
    void ReleaseAllPictures();

    // One animation tick for every picture, none skipped; true when any of them changed frame.
    bool StepAnimations();

private:
    PictureBackend backend_;
    std::vector<std::unique_ptr<THTMLPicture>> pictures_;
};

} // namespace velmora
