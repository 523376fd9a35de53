#pragma once

#include "pictures/PictureDecoder.h"

namespace velmora {

// Windows Imaging Component's readers for GIF, JPEG, PNG, BMP and ICO; other formats are refused. A
// GIF gives its first image at the image's own size (the frames of an animation are chosen before,
// by the pictures' own GIF reader). Pixels come out unpremultiplied, sizes at 96 pixels per inch, as
// from the Linux decoder.
class WicPictureDecoder final : public PictureDecoder {
public:
    OpenedStream OpenStream(std::vector<std::uint8_t> block) override;
    Decoded Decode(PictureStream& stream) override;
};

} // namespace velmora
