// Loads the input as a picture's bytes and steps through its GIF frames: the frame scans, the frame
// chosen for the decoder, the composed screen, and the animation clock. The first byte picks the frame to
// show.
#include "FuzzInput.h"
#include "pictures/ComposedGif.h"
#include "pictures/GifFrames.h"
#include "pictures/HTMLPicture.h"
#include "pictures/PictureErrors.h"
#include "pictures/testing/FakePictureDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::FuzzInput input(data, size);
    const std::int32_t frame = static_cast<std::int8_t>(input.Byte());
    const std::string_view rest = input.Rest();
    const velmora::gif::Bytes bytes(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());

    const std::vector<velmora::gif::FrameBlock> index = velmora::gif::IndexFrameBlocks(bytes);
    for (const velmora::gif::FrameBlock& block : index) {
        if (block.Descriptor <= block.Position || block.Descriptor + 1 >= bytes.size() ||
            bytes[block.Descriptor] != 0x2C ||
            velmora::gif::ImageEnd(bytes, block.Descriptor) > bytes.size()) {
            std::abort();
        }
    }
    std::vector<std::uint8_t> selected;
    velmora::gif::SelectFrame(bytes, index, frame, selected);
    // At most the data and a trailer.
    if (selected.size() > bytes.size() + 1) {
        std::abort();
    }

    velmora::testkit::FakePictureDecoder decoder;
    velmora::testkit::FakeResourceLibrary resources;
    velmora::THTMLPicture picture(velmora::PictureBackend{&decoder, &resources});
    // Bytes the decoder refuses raise Error, as they do for every caller; only other failures count.
    const auto attempt = [](auto&& step) {
        try {
            step();
        } catch (const velmora::Error&) {
        }
    };
    std::istringstream stream{std::string(rest)};
    attempt([&] { picture.LoadStream(&stream); });
    picture.CountFrames();
    picture.FrameDelay(frame);
    attempt([&] { picture.SetFrame(frame); });
    attempt([&] { picture.DecodeFrame(); });
    for (int tick = 0; tick < 8; ++tick) {
        attempt([&] { picture.AnimationTick(); });
    }
    picture.AdvanceFrame();
    // A composed screen is bounded whatever size the data claims; a picture shown alone is the
    // decoder's size.
    const std::int64_t shown = std::int64_t{picture.PictureWidth()} * picture.PictureHeight();
    if (shown > std::max<std::int64_t>(velmora::gif::ComposedGif::kMaxPixels,
                                       std::int64_t{decoder.PictureWidth} * decoder.PictureHeight)) {
        std::abort();
    }
    return 0;
}
