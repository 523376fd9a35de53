#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

struct WorkCase {
    const char* name;
    std::string unit;
    std::string closing;
    bool wordWrap;
};

std::size_t MeasuredFor(const WorkCase& c, std::size_t bytes, bool measureOnly) {
    std::string markup = c.closing.empty() ? "" : "<UL>";
    while (markup.size() < bytes) {
        markup += c.unit;
    }
    markup += c.closing;
    testkit::FakeCanvas canvas;
    MarkupCall params(canvas);
    params.Request.Markup = markup;
    params.Request.Bounds = {0, 0, 313, 1 << 30};
    params.Request.NoDraw = true;
    params.Request.MeasureOnly = measureOnly;
    params.Request.WordWrap = c.wordWrap;
    params.Request.HitX = 100;
    params.Request.HitY = 100;
    params.Run();
    return canvas.MeasuredCharacters();
}

// The characters that layout measures show work that grows faster than the text in numbers that do not
// depend on the machine's caches or load.
TEST(LayoutWork, GrowsNoFasterThanTheText) {
    const WorkCase cases[] = {
        {"paragraph", "This cost many hours of <b>free time</b>, <A href=\"x\">write</A> &amp; thanks!<br>",
         "", true},
        {"no spaces", "abcdefghij", "", true},
        {"no spaces, no wrap", "abcdefghij", "", false},
        {"ampersands", "a&b", "", true},
        {"undecoded entities", "&hellip;", "", true},
        {"nested FONT", "<FONT>abcd", "", true},
        {"list items", "<LI>item1 ", "</UL>", true},
        {"words without wrap", "word ", "", false},
    };
    for (const WorkCase& c : cases) {
        for (const bool measureOnly : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (measureOnly ? ", measuring" : ", hit-testing"));
            const std::size_t small = MeasuredFor(c, 10 * 1024, measureOnly);
            const std::size_t large = MeasuredFor(c, 100 * 1024, measureOnly);
            EXPECT_GT(small, 0u);
            EXPECT_LE(large, small * 11)
                << small << " characters measured for 10 KB, " << large << " for 100 KB";
        }
    }
}

} // namespace
} // namespace velmora
