#pragma once

#include "pictures/PictureDecoder.h"

namespace velmora {

// Qt's image readers for GIF, JPEG, PNG, BMP and ICO; other formats are refused. A GIF gives its first
// image at the image's own size, not the logical screen's. Sizes are reported at 96 pixels per inch.
class QtPictureDecoder final : public PictureDecoder {
public:
    OpenedStream OpenStream(std::vector<std::uint8_t> block) override;
    Decoded Decode(PictureStream& stream) override;
};

// The decoder and the program's resources (:/rcdata/) that the application's pictures use.
PictureBackend QtPictureBackend();

} // namespace velmora
