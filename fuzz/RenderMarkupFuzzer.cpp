// Lays out, draws and hit-tests the input as markup on the fake canvas. The first bytes pick every
// flag of the call, the hit point, the anchors, the bounds and the flavour; the rest is the markup.
#include "FuzzInput.h"
#include "graphics/ImageList.h"
#include "graphics/testing/FakeCanvas.h"
#include "markup/KeptLayout.h"
#include "markup/RenderMarkup.h"
#include "pictures/HTMLPicture.h"
#include "pictures/PictureContainer.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <cstdlib>
#include <sstream>

namespace {

using velmora::fuzz::FuzzInput;

struct Pictures {
    velmora::testkit::FakePictureDecoder decoder;
    velmora::testkit::FakeResourceLibrary resources;
    velmora::TPictureContainer container{velmora::PictureBackend{&decoder, &resources}};
    velmora::ImageList images{16, 16};

    Pictures() {
        images.Add(velmora::Bitmap(32, 16, 0xFF00FF00));
        const std::vector<std::uint8_t> gif =
            velmora::testkit::MakeGif(4, 4, {{0, 0, 4, 4, 0, 10, true}, {1, 1, 2, 2, 1, 20, true}});
        for (const char* name : {"a", "anim"}) {
            velmora::TPictureItem& item = container.Items().Add();
            item.Name = name;
            std::istringstream stream(std::string(gif.begin(), gif.end()));
            item.Picture().LoadStream(&stream);
        }
    }
};

std::int32_t Signed(FuzzInput& input, std::int32_t spread) {
    return static_cast<std::int32_t>(input.Byte()) * spread / 128 - spread;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Pictures pictures;
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t more = input.Byte();

    velmora::testkit::FakeCanvas canvas;
    velmora::MarkupCall params(canvas);
    params.request.noDraw = input.Bit(flags, 0);
    params.request.measureOnly = input.Bit(flags, 1);
    params.request.printing = input.Bit(flags, 2);
    params.request.suppressColors = input.Bit(flags, 3);
    params.request.blinkVisible = input.Bit(flags, 4);
    params.request.hoverEnabled = input.Bit(flags, 5);
    params.request.wordWrap = input.Bit(flags, 6);
    params.request.flavor =
        input.Bit(flags, 7) ? velmora::MarkupFlavor::StaticText : velmora::MarkupFlavor::Label;
    params.sources.imageList = input.Bit(more, 0) ? &pictures.images : nullptr;
    params.sources.pictureContainer = input.Bit(more, 1) ? &pictures.container : nullptr;
    params.request.imageScale = input.Bit(more, 2) ? 2.5 : 1.0;
    if (input.Bit(more, 3)) {
        canvas.SetPixelsPerInch(300, 150);
    }
    const std::int32_t left = Signed(input, 50);
    const std::int32_t top = Signed(input, 50);
    params.request.bounds = {left, top, left + input.Byte() * 4, top + input.Byte() * 4};
    params.request.hitX = left + input.Byte() * 4;
    params.request.hitY = top + input.Byte() * 4;
    params.request.focusAnchor = Signed(input, 4) / 4;
    params.request.hoverAnchor = Signed(input, 4) / 4;
    params.request.shadowOffset = Signed(input, 8);
    params.request.lineSpacing = Signed(input, 16);
    params.request.markup = input.Rest();

    const bool hit = params.Run();
    if (params.result.anchorCount < 0 || params.result.textWidth < 0 || params.result.textHeight < 0) {
        std::abort();
    }

    // A control's kept layout must answer as the fresh call did, the first time (when it is filled) and
    // the second (when it is read), drawing the same runs.
    velmora::KeptLayouts kept;
    const std::size_t freshDrawn = canvas.Records().size();
    for (int round = 0; round < 2; ++round) {
        velmora::testkit::FakeCanvas keptCanvas;
        keptCanvas.SetPixelsPerInch(canvas.PixelsPerInchX(), canvas.PixelsPerInchY());
        velmora::MarkupCall again(keptCanvas);
        again.sources = params.sources;
        again.request = params.request;
        again.kept = &kept;
        velmora::MarkupResult& a = params.result;
        velmora::MarkupResult& b = again.result;
        const bool found = again.Run();
        if (found != hit || (found && a.hitAnchor != b.hitAnchor) || a.hitAnchorNumber != b.hitAnchorNumber ||
            a.hitAnchorRect != b.hitAnchorRect || a.textWidth != b.textWidth ||
            a.textHeight != b.textHeight || a.anchorCount != b.anchorCount || a.plainText != b.plainText ||
            a.focusHref != b.focusHref || keptCanvas.Records().size() != freshDrawn) {
            std::abort();
        }
    }
    return 0;
}
