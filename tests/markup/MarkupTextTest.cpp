#include "markup/MarkupText.h"

#include <climits>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace velmora {
namespace {

TEST(MarkupText, CaseMappingCoversTheAccentedLettersOfTheCodePage) {
    struct Case {
        char lower;
        char upper;
    };
    const Case cases[] = {
        {'a', 'A'},       {'z', 'Z'},       {'\xE9', '\xC9'}, // e acute
        {'\xFE', '\xDE'}, {'\x9A', '\x8A'},                   // s caron
        {'\x9C', '\x8C'},                                     // oe
        {'\x9E', '\x8E'},                                     // z caron
        {'\xFF', '\x9F'},                                     // y diaeresis
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpperCaseAnsi(c.lower), c.upper) << int(static_cast<unsigned char>(c.lower));
        EXPECT_EQ(LowerCaseAnsi(c.upper), c.lower) << int(static_cast<unsigned char>(c.upper));
    }
    // Not letters, or letters without a partner: unchanged both ways.
    for (char c : {'\xF7', '\xD7', '\xDF', '\xB5', '1', '<', '&'}) {
        EXPECT_EQ(UpperCaseAnsi(c), c);
        EXPECT_EQ(LowerCaseAnsi(c), c);
    }
}

TEST(MarkupText, PosIgnoreCase) {
    struct Case {
        std::string needle;
        std::string haystack;
        std::size_t expected;
    };
    const Case cases[] = {
        {"br", "a<BR>b", 3}, {"<BR>", "a<br>b", 2},         {"x", "", 0},    {"", "abc", 0},
        {"abcd", "abc", 0},  {"\xE9t\xE9", "\xC9T\xC9", 1}, {"c", "abc", 3}, {"ab", "xaxab", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PosIgnoreCase(c.needle, c.haystack), c.expected) << c.needle << " in " << c.haystack;
    }
}

TEST(MarkupText, IntFromTextReadsTheLeadingInteger) {
    struct Case {
        std::string text;
        int value;
        std::optional<int> clean;
    };
    const Case cases[] = {
        {"12", 12, 12},
        {"  7", 7, 7},
        {"-20", -20, -20},
        {"+5", 5, 5},
        {"3\" color", 3, std::nullopt},
        {"20px", 20, std::nullopt},
        {"", 0, std::nullopt},
        {"-", 0, std::nullopt},
        {"abc", 0, std::nullopt},
        {"2147483647", INT_MAX, INT_MAX},
        {"-2147483648", INT_MIN, INT_MIN},
        // The digit that would overflow ends the reading.
        {"2147483648", 214748364, std::nullopt},
        {"99999999999999999999", 999999999, std::nullopt},
        {"7 ", 7, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntFromText(c.text), c.value) << c.text;
        EXPECT_EQ(CleanIntFromText(c.text), c.clean) << c.text;
    }
}

TEST(MarkupText, ReplaceFirstIgnoreCase) {
    struct Case {
        std::string needle;
        std::string replacement;
        std::string text;
        bool replaced;
        std::string expected;
    };
    const Case cases[] = {
        {"&amp;", "&&", "a &AMP; b &amp;", true, "a && b &amp;"},
        {"&quot;", "\"", "none", false, "none"},
        {"x", "", "axbx", true, "abx"},
        {"ab", "abab", "ab", true, "abab"},
    };
    for (Case c : cases) {
        EXPECT_EQ(ReplaceFirstIgnoreCase(c.needle, c.replacement, c.text), c.replaced) << c.needle;
        EXPECT_EQ(c.text, c.expected);
    }
}

TEST(MarkupText, UnwrapFirstHashTagAndConvertLineBreaks) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case unwrap[] = {
        {"<#abc>", "#abc"},  {"x <#a> <#b>", "x #a <#b>"}, {"<b>x</b><#a>", "<b>x</b>#a"},
        {"<#open", "#open"}, {"# > <", "# > <"},
    };
    for (const Case& c : unwrap) {
        EXPECT_EQ(UnwrapFirstHashTag(c.text), c.expected) << c.text;
    }
    EXPECT_EQ(ConvertLineBreaks("a\r\nb\rc\nd", true), "a<BR>b<BR>cd");
    EXPECT_EQ(ConvertLineBreaks("a\r\nb\rc\nd", false), "abcd");
}

} // namespace
} // namespace velmora
