#include "markup/MarkupTags.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace velmora {
namespace {

TEST(MarkupTags, TagsAreRecognisedByTheirFirstLetters) {
    struct Case {
        std::string text;
        TagKind expected;
    };
    const Case cases[] = {
        {"<b", TagKind::TooShort},
        {"<b>bold", TagKind::Bold},
        {"<B >", TagKind::Unknown},
        {"<BIG>", TagKind::Unknown},
        {"<BLOCKQUOTE>", TagKind::Blink},
        {"<BODY>", TagKind::Body},
        {"<BR", TagKind::Break},
        {"<ABBR>", TagKind::Anchor},
        {"<H1>", TagKind::Unknown},
        {"<HR>", TagKind::Rule},
        {"<IND x=\"4\">", TagKind::IndentTo},
        {"<IMG>", TagKind::Image},
        {"<IX>", TagKind::Unknown},
        {"<SH>", TagKind::Shadow},
        {"<sub>", TagKind::Subscript},
        {"<SUB", TagKind::Unknown},
        {"<SPAN>", TagKind::Unknown},
        {"<UX>", TagKind::List},
        {"</>", TagKind::Unknown},
        {"</B", TagKind::Unknown}, // too short to close
        {"</b>", TagKind::EndBold},
        {"</BODY>", TagKind::EndBlinkOrBody},
        {"</sup>", TagKind::EndScript},
        {"</SH>", TagKind::EndShadow},
        {"</SPAN>", TagKind::EndStrikeOut},
        {"</U>", TagKind::EndUnderline},
        {"</UL>", TagKind::EndList},
        {"</Q>", TagKind::Unknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyTag(c.text), c.expected) << c.text;
    }
}

TEST(MarkupTags, AttributeValuesAreFoundBySubstringInUpperCase) {
    struct Case {
        std::string tag;
        std::string name;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"<FONT face=\"Arial\" color=\"#ff0000\">", " COLOR", "#FF0000"},
        {"<FONT color=red>", " COLOR", ""}, // unquoted or single quotes read as empty
        {"<FONT color='red'>", " COLOR", ""},
        {"<FONT size=\"3\">", " COLOR", std::nullopt},
        {"<FONT color=\"clbtnface\">", "FACE", ""}, // found inside a value
        {"<FONT bgcolor=\"clred\">", " COLOR", std::nullopt},
        {"<BODY bgcolorto=\"clred\" bgcolor=\"clblue\">", "BGCOLOR", "CLRED"},
        {"<FONT color=\"#ff0000>", " COLOR", "#FF0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AttributeValue(AttributeText(TagText(c.tag), 5), c.name), c.expected) << c.tag << c.name;
    }
}

TEST(MarkupTags, FontSizes) {
    struct Case {
        std::string tag;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"<FONT size=\"1\">", 8},
        {"<FONT size=3>", 12},
        {"<FONT size=\"5\" color=\"clred\">", 16},
        {"<FONT size = \"2\">", 10},
        {"<FONT size=7>", 7},
        {"<FONT size=\"0\">", 0},
        {"<FONT size=6 color=\"clred\">", 6}, // a later attribute's quote is not this value's
        {"<FONT size=\"big\">", 0},
        {"<FONT color=\"clred\">", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FontSizeFromAttributes(AttributeText(TagText(c.tag), 5)), c.expected) << c.tag;
    }
}

TEST(MarkupTags, HrefsAndLetterValues) {
    EXPECT_EQ(AnchorHref("<A title=\"t\" href=\"u\">"), "t");
    EXPECT_EQ(AnchorHref("<A href=u>"), "");
    EXPECT_EQ(LetterValue("<INx y=\"3\" x=\"9\">", 'x'), "3"); // the first x after the second character
    EXPECT_EQ(LetterValue("<R angle=\"45\">", 'a'), "45");
    EXPECT_EQ(LetterValue("<R>", 'a'), "");
}

} // namespace
} // namespace velmora
