#pragma once

#include "RenderFixture.h"
#include "graphics/ImageList.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureContainer.h"
#include "pictures/testing/FakePictureDecoder.h"

#include <sstream>
#include <string>
#include <vector>

namespace velmora {

// RenderFixture with picture sources: a container, a cache and resources, all decoded by the fake
// decoder, which makes any bytes a picture of the size it is set to.
class PictureFixture : public RenderFixture {
protected:
    // A container item named name holding a width x height picture made from bytes.
    THTMLPicture& AddPicture(const std::string& name, std::int32_t width, std::int32_t height,
                             const std::vector<std::uint8_t>& bytes = {1, 2, 3}) {
        decoder.PictureWidth = width;
        decoder.PictureHeight = height;
        TPictureItem& item = container.Items().Add();
        item.Name = name;
        std::istringstream stream(std::string(bytes.begin(), bytes.end()));
        item.Picture().LoadStream(&stream);
        return item.Picture();
    }

    MarkupCall Render(const std::string& markup, Rect bounds = {0, 0, 200, 100},
                      MarkupFlavor flavor = MarkupFlavor::Label) {
        canvas.ClearRecords();
        MarkupCall params = Params(markup, bounds);
        params.Sources.PictureContainer = &container;
        params.Sources.PictureCache = &cache;
        params.Request.Flavor = flavor;
        params.Run();
        return params;
    }

    // Every bitmap drawn, as "B" (at its size) or "S" (stretched) with its rectangle, space separated.
    std::string Pictures() const {
        std::string out;
        for (const testkit::DrawRecord& r : canvas.Records()) {
            if (r.Kind == testkit::DrawKind::Bitmap || r.Kind == testkit::DrawKind::StretchBitmap) {
                out += std::string(out.empty() ? "" : " ") +
                       (r.Kind == testkit::DrawKind::Bitmap ? "B" : "S") + RectText(r.Area);
            }
        }
        return out;
    }

    // Every rectangle drawn as "l,t,r,b:colour" of its brush, space separated.
    std::string Rectangles() const {
        std::string out;
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Rectangle)) {
            const TColor brush = r.BrushState.Style == BrushStyle::Clear ? clNone : r.BrushState.Color;
            if (!out.empty()) {
                out += ' ';
            }
            out += RectText(r.Area);
            out += ':';
            out += ColorName(brush);
        }
        return out;
    }

    static std::string RectText(const Rect& r) {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
               std::to_string(r.Bottom);
    }

    testkit::FakePictureDecoder decoder;
    testkit::FakeResourceLibrary resources;
    PictureBackend backend{&decoder, &resources};
    TPictureContainer container{backend};
    THTMLPictureCache cache{backend};
};

} // namespace velmora
