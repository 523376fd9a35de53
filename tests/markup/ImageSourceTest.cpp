#include "PictureFixture.h"

#include <string>
#include <vector>

namespace velmora {
namespace {

class ImageSource : public PictureFixture {};

// An IMG whose SRC has no quoted value names no picture; the text around it is laid out as usual. The
// container holds every picture a misread value could name: "x" unquoted, "4" from another attribute's
// quotes, and an item without a name, which an empty source must not find either.
TEST_F(ImageSource, ASourceWithoutQuotedValueShowsNoPicture) {
    for (const char* name : {"x", "4", ""}) {
        AddPicture(name, 16, 8);
    }
    const std::string cases[] = {
        "a<IMG SRC>b",          "a<IMG src=x>b",    "a<IMG SRC=\">b", "a<img width=\"4\" src>b",
        "a<IMG SRC ALT=\"\">b", "a<IMG src=\"\">b",
    };
    for (const MarkupFlavor flavor : {MarkupFlavor::Label, MarkupFlavor::StaticText}) {
        for (const std::string& markup : cases) {
            SCOPED_TRACE(markup);
            MarkupResult result;
            EXPECT_NO_THROW(result = Render(markup, {0, 0, 200, 100}, flavor).Result);
            EXPECT_EQ(Pictures(), "");
            EXPECT_EQ(result.TextWidth, 16);
            const std::vector<std::string> texts = canvas.DrawnTexts();
            EXPECT_EQ(texts.empty() ? "" : texts.front(), "a");
        }
    }
    // The same container does show a picture that is named.
    Render("a<IMG src=\"x\">b");
    EXPECT_EQ(Pictures(), "B9,0,25,8");
}

} // namespace
} // namespace velmora
