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
    params.Request.NoDraw = input.Bit(flags, 0);
    params.Request.MeasureOnly = input.Bit(flags, 1);
    params.Request.Printing = input.Bit(flags, 2);
    params.Request.SuppressColors = input.Bit(flags, 3);
    params.Request.BlinkVisible = input.Bit(flags, 4);
    params.Request.HoverEnabled = input.Bit(flags, 5);
    params.Request.WordWrap = input.Bit(flags, 6);
    params.Request.Flavor =
        input.Bit(flags, 7) ? velmora::MarkupFlavor::StaticText : velmora::MarkupFlavor::Label;
    params.Sources.Images = input.Bit(more, 0) ? &pictures.images : nullptr;
    params.Sources.PictureContainer = input.Bit(more, 1) ? &pictures.container : nullptr;
    params.Request.ImageScale = input.Bit(more, 2) ? 2.5 : 1.0;
    if (input.Bit(more, 3)) {
        canvas.SetPixelsPerInch(300, 150);
    }
    const std::int32_t left = Signed(input, 50);
    const std::int32_t top = Signed(input, 50);
    params.Request.Bounds = {left, top, left + input.Byte() * 4, top + input.Byte() * 4};
    params.Request.HitX = left + input.Byte() * 4;
    params.Request.HitY = top + input.Byte() * 4;
    params.Request.FocusAnchor = Signed(input, 4) / 4;
    params.Request.HoverAnchor = Signed(input, 4) / 4;
    params.Request.ShadowOffset = Signed(input, 8);
    params.Request.LineSpacing = Signed(input, 16);
    params.Request.Markup = input.Rest();

    const bool hit = params.Run();
    if (params.Result.AnchorCount < 0 || params.Result.TextWidth < 0 || params.Result.TextHeight < 0) {
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
        again.Sources = params.Sources;
        again.Request = params.Request;
        again.Kept = &kept;
        velmora::MarkupResult& a = params.Result;
        velmora::MarkupResult& b = again.Result;
        const bool found = again.Run();
        if (found != hit || (found && a.HitAnchor != b.HitAnchor) || a.HitAnchorNumber != b.HitAnchorNumber ||
            a.HitAnchorRect != b.HitAnchorRect || a.TextWidth != b.TextWidth ||
            a.TextHeight != b.TextHeight || a.AnchorCount != b.AnchorCount || a.PlainText != b.PlainText ||
            a.FocusHref != b.FocusHref || keptCanvas.Records().size() != freshDrawn) {
            std::abort();
        }
    }
    return 0;
}
