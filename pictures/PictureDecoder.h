#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

class Canvas;
struct Rect;

// One decoded image. Its size is in himetric units (hundredths of a millimetre), as the picture
// reports it to its users; the pixels stay the decoder's business.
class DecodedPicture {
public:
    virtual ~DecodedPicture() = default;
    virtual std::int32_t HimetricWidth() const = 0;
    virtual std::int32_t HimetricHeight() const = 0;
    // Draws the whole image upright, scaled to fill `target`.
    virtual void Render(Canvas& canvas, const Rect& target) const = 0;
};

// The decoder's handle on a block of bytes it is about to read; it owns the block.
class PictureStream {
public:
    virtual ~PictureStream() = default;
};

// Turns picture file bytes into a DecodedPicture. Decoding happens in two steps, opening a stream over
// the bytes and reading it, so that a picture can tell which of them failed.
class PictureDecoder {
public:
    struct OpenedStream {
        bool Created = false;
        std::unique_ptr<PictureStream> Stream;
    };
    struct Decoded {
        bool Accepted = false;
        std::unique_ptr<DecodedPicture> Picture;
    };

    virtual ~PictureDecoder() = default;
    virtual OpenedStream OpenStream(std::vector<std::uint8_t> block) = 0;
    virtual Decoded Decode(PictureStream& stream) = 0;
};

// The program's own data resources, found by name without regard to case.
class ResourceLibrary {
public:
    virtual ~ResourceLibrary() = default;
    virtual std::optional<std::vector<std::uint8_t>> FindResource(std::string_view name) const = 0;
};

// What a picture needs from its surroundings. Both must outlive every picture made with them.
struct PictureBackend {
    PictureDecoder* Decoder = nullptr;
    const ResourceLibrary* Resources = nullptr;
};

} // namespace velmora
