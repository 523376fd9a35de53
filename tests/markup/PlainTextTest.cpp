#include "markup/PlainText.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

TEST(PlainText, MarkupToPlainText) {
    struct Case {
        std::string markup;
        std::string expected;
    };
    const Case cases[] = {
        {"a<br>b<z>hidden</z>c<b>d</b>", "a\r\nbcd"},
        {"a<BR>b<Br>c", "a\r\nb\r\nc"},
        {"x<hr>y", "x\r\ny"},
        {"<Z>gone</Z>kept", "kept"},
        {"<z>gone</Z>kept", "gonekept"}, // mixed case does not make a section
        {"<b>bold</b><z>h</z>", "bold"}, // tags before a section go too
        {"<Z>h</Z>a<z>x</z>b", "ab"},
        {"a<z>open", "aopen"}, // an unclosed section shows
        {"a<b", "a<b"},        // an unclosed tag stays as text
        {"&amp;&lt;", "&amp;&lt;"},
        {"<A href=\"x\">link</A> text", "link text"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MarkupToPlainText(c.markup), c.expected) << c.markup;
    }
}

} // namespace
} // namespace velmora
