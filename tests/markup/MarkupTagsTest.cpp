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
        {"<", TagKind::TooShort},
        {"<b", TagKind::TooShort},
        {"<b>bold", TagKind::Bold},
        {"<B>", TagKind::Bold},
        {"<B >", TagKind::Unknown},
        {"<BIG>", TagKind::Unknown},
        {"<BLINK>", TagKind::Blink},
        {"<BLOCKQUOTE>", TagKind::Blink},
        {"<BODY>", TagKind::Body},
        {"<body bgcolor=\"clred\">", TagKind::Body},
        {"<br>", TagKind::Break},
        {"<BR", TagKind::Break},
        {"<a href=\"x\">", TagKind::Anchor},
        {"<ABBR>", TagKind::Anchor},
        {"<E>", TagKind::ErrorUnderline},
        {"<FONT>", TagKind::Font},
        {"<hi>", TagKind::Highlight},
        {"<H1>", TagKind::Unknown},
        {"<HR>", TagKind::Rule},
        {"<i>", TagKind::Italic},
        {"<IND x=\"4\">", TagKind::IndentTo},
        {"<IMG>", TagKind::Image},
        {"<IMG src=\"a\">", TagKind::Image},
        {"<IX>", TagKind::Unknown},
        {"<LI>", TagKind::ListItem},
        {"<P align=\"center\">", TagKind::Paragraph},
        {"<R a=\"90\">", TagKind::Rotate},
        {"<S>", TagKind::StrikeOut},
        {"<SH>", TagKind::Shadow},
        {"<sub>", TagKind::Subscript},
        {"<SUP>", TagKind::Superscript},
        {"<SUB", TagKind::Unknown},
        {"<SPAN>", TagKind::Unknown},
        {"<U>", TagKind::Underline},
        {"<UL>", TagKind::List},
        {"<UX>", TagKind::List},
        {"<Z>", TagKind::Hidden},
        {"<X>", TagKind::Unknown},
        {"</", TagKind::TooShort},
        {"</>", TagKind::Unknown},
        {"</B", TagKind::Unknown}, // too short to close
        {"</A>", TagKind::EndAnchor},
        {"</b>", TagKind::EndBold},
        {"</BLINK>", TagKind::EndBlinkOrBody},
        {"</BODY>", TagKind::EndBlinkOrBody},
        {"</E>", TagKind::EndErrorUnderline},
        {"</FONT>", TagKind::EndFont},
        {"</HI>", TagKind::EndHighlight},
        {"</I>", TagKind::EndItalic},
        {"</LI>", TagKind::EndListItem},
        {"</P>", TagKind::EndParagraph},
        {"</R>", TagKind::EndRotate},
        {"</SUB>", TagKind::EndScript},
        {"</sup>", TagKind::EndScript},
        {"</SH>", TagKind::EndShadow},
        {"</S>", TagKind::EndStrikeOut},
        {"</SPAN>", TagKind::EndStrikeOut},
        {"</U>", TagKind::EndUnderline},
        {"</UL>", TagKind::EndList},
        {"</Z>", TagKind::EndHidden},
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
        {"<FONT color=\"clred\">", " COLOR", "CLRED"},
        {"<FONT face=\"Arial\" color=\"#ff0000\">", " COLOR", "#FF0000"},
        {"<FONT face=\"Arial\" color=\"#ff0000\">", "FACE", "ARIAL"},
        {"<FONT color=red>", " COLOR", ""}, // unquoted or single quotes read as empty
        {"<FONT color='red'>", " COLOR", ""},
        {"<FONT size=\"3\">", " COLOR", std::nullopt},
        {"<FONT color=\"clbtnface\">", "FACE", ""}, // found inside a value
        {"<FONT bgcolor=\"clred\">", " COLOR", std::nullopt},
        {"<BODY bgcolorto=\"clred\" bgcolor=\"clblue\">", "BGCOLOR", "CLRED"},
        {"<FONT color=\"#ff0000>", " COLOR", "#FF0000"},
        {"<FONT color=\"x\"> \"after\"", " COLOR", "X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AttributeValue(AttributeText(TagText(c.tag), 5), c.name), c.expected) << c.tag << c.name;
    }
}

TEST(MarkupTags, AttributeTextIsTheUpperCasedRestBeforeTheFirstCloser) {
    struct Case {
        std::string tag;
        std::size_t offset;
        std::string expected;
    };
    const Case cases[] = {
        {"<P align=\"left\">", 2, " ALIGN=\"LEFT\""},
        {"<P", 5, ""}, // an offset past the end
        {"<P>", 2, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AttributeText(c.tag, c.offset), c.expected) << c.tag;
    }
}

TEST(MarkupTags, FontSizes) {
    struct Case {
        std::string tag;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"<FONT size=\"1\">", 8},
        {"<FONT size=\"2\">", 10},
        {"<FONT size=3>", 12},
        {"<FONT size=\"4\" color=\"clred\">", 14},
        {"<FONT size=\"5\" color=\"clred\">", 16},
        {"<FONT size = \"2\">", 10},
        {"<FONT size=7>", 7},
        {"<FONT size=\"0\">", 0},
        {"<FONT size=\"24\">", 24},
        {"<FONT size=\"99999999999\">", 999999999},
        {"<FONT size=6 color=\"clred\">", 6}, // a later attribute's quote is not this value's
        {"<FONT size=\"big\">", 0},
        {"<FONT color=\"clred\">", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FontSizeFromAttributes(AttributeText(TagText(c.tag), 5)), c.expected) << c.tag;
    }
}

TEST(MarkupTags, HrefsAndLetterValues) {
    struct Case {
        std::string tag;
        std::string expected;
    };
    const Case hrefs[] = {
        {"<A href=\"MailTo:x@y.z\">", "MailTo:x@y.z"}, // as written
        {"<A title=\"t\" href=\"u\">", "t"},
        {"<A href=u>", ""},
        {"<A href=\"open>", "open"},
        {"<A>", ""},
    };
    for (const Case& c : hrefs) {
        EXPECT_EQ(AnchorHref(TagText(c.tag)), c.expected) << c.tag;
    }
    const struct {
        std::string tag;
        char letter;
        std::string expected;
    } letters[] = {
        {"<IND x=\"40\">", 'x', "40"},
        {"<IND X=\"40\">", 'x', "40"},
        {"<INx y=\"3\" x=\"9\">", 'x', "3"}, // the first x after the second character
        {"<IN>", 'x', ""},
        {"<R a=\"90\">", 'a', "90"},
        {"<R angle=\"45\">", 'a', "45"},
        {"<R>", 'a', ""},
    };
    for (const auto& c : letters) {
        EXPECT_EQ(LetterValue(TagText(c.tag), c.letter), c.expected) << c.tag;
    }
}

} // namespace
} // namespace velmora
