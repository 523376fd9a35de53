#include "RenderFixture.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

class ImageSource : public RenderFixture {};

// An IMG whose SRC has no quoted value names no picture; the text around it is laid out as usual.
TEST_F(ImageSource, ASourceWithoutQuotedValueShowsNoPicture) {
    const std::string cases[] = {
        "a<IMG SRC>b", "a<IMG src=x>b", "a<IMG SRC=\">b", "a<img width=\"4\" src>b", "a<IMG SRC ALT=\"\">b",
    };
    for (const MarkupFlavor flavor : {MarkupFlavor::Label, MarkupFlavor::StaticText}) {
        for (const std::string& markup : cases) {
            canvas.ClearRecords();
            RenderMarkupParams params = Params(markup);
            params.flavor = flavor;
            ASSERT_NO_THROW(RenderMarkup(params)) << markup;
            EXPECT_EQ(canvas.RecordsOf(testing::DrawKind::Bitmap).size(), 0u) << markup;
            EXPECT_EQ(canvas.DrawnTexts().front(), "a") << markup;
        }
    }
}

} // namespace
} // namespace velmora
