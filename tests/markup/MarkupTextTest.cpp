#include "markup/MarkupText.h"

#include "markup/MarkupEntities.h"
#include "markup/PlainText.h"

#include <climits>
#include <gtest/gtest.h>
#include <optional>
#include <random>
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

TEST(MarkupText, PosIgnoreCaseKnowsTheCodePage) {
    struct Case {
        std::string needle;
        std::string haystack;
        std::size_t expected;
    };
    const Case cases[] = {
        {"br", "a<BR>b", 3},
        {"<BR>", "a<br>b", 2},
        {"x", "", 0},
        {"", "abc", 0},
        {"abcd", "abc", 0},
        {"c", "abc", 3},
        {"ab", "xaxab", 4},
        {"\xE9t\xE9", "\xC9T\xC9", 1},               // e acute
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F", 1}, // s caron, oe, z caron, y diaeresis
        {"\xF7", "\xD7", 0},                         // division and multiplication signs are not letters
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
        {"  -20", -20, -20},
        {"+5", 5, 5},
        {"20px", 20, std::nullopt},
        {"abc", 0, std::nullopt},
        {"3\" color", 3, std::nullopt},
        {"", 0, std::nullopt},
        {"-", 0, std::nullopt},
        {"2147483647", INT_MAX, INT_MAX},
        {"-2147483648", INT_MIN, INT_MIN},
        {"2147483648", 214748364, std::nullopt}, // the digit that would overflow ends the reading
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

// The entity replacement as the language states it: rounds over the nine entities, each replacing
// its first occurrence, until a round replaces nothing.
std::string EntitiesByRounds(std::string text) {
    const char* const entities[][2] = {{"&amp;", "&&"},      {"&quot;", "\""},    {"&sect;", "\xA7"},
                                       {"&permil;", "\x89"}, {"&reg;", "\xAE"},   {"&copy;", "\xA9"},
                                       {"&para;", "\xB6"},   {"&trade;", "\x99"}, {"&euro;", "\x80"}};
    for (bool any = true; any;) {
        any = false;
        for (const auto& entity : entities) {
            any = ReplaceFirstIgnoreCase(entity[0], entity[1], text) || any;
        }
    }
    return text;
}

TEST(MarkupText, PreparedText) {
    struct Case {
        std::string markup;
        std::string expected;
    };
    const Case cases[] = {
        {"&AMP;&Quot;&sect;&permil;&reg;&copy;&para;&trade;&euro;", "&&\"\xA7\x89\xAE\xA9\xB6\x99\x80"},
        {"&amp;quot;", "&\""}, // the second "&" of "&&" starts the next entity
        {"&amp;amp;", "&&&"},  // a replacement completes a new entity
        {"&&quot;", "&\""},
        {"&nbsp;&amp", "&nbsp;&amp"},
        {"&nbsp; &lt;", "&nbsp; &lt;"}, // run entities wait for the run
        {"no entity", "no entity"},
        {"a\r\nb\nc", "a<BR>bc"},
        {"<#tag> <#b>", "#tag <#b>"},
        {"<#tag> &amp;", "#tag &&"},
        {"&amp;#x\r", "&&#x<BR>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrepareMarkup(c.markup), c.expected) << c.markup;
        EXPECT_EQ(ReplaceTextEntities(c.markup), EntitiesByRounds(c.markup)) << c.markup;
    }
}

TEST(MarkupText, OneEntityScanEndsWhereTheRoundsEnd) {
    // Random texts over the letters of the entities, so that chains and overlaps occur often.
    const std::string alphabet = "&;ampquotsecrgdlhuEAMPQ x";
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (std::size_t n = pick(random) + pick(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        ASSERT_EQ(ReplaceTextEntities(text), EntitiesByRounds(text)) << text;
    }
}

TEST(MarkupText, RunEntitiesOnlyInLowerCase) {
    struct Case {
        std::string run;
        std::string expected;
    };
    const Case cases[] = {
        {"a&nbsp;b&lt;i&gt;&&lt;", "a b<i>&<"},
        {"&NBSP;&LT;&nbsp", "&NBSP;&LT;&nbsp"},
        {"&lt;&lt;", "<<"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceRunEntities(c.run), c.expected) << c.run;
    }
}

TEST(MarkupText, MarkupToPlainText) {
    struct Case {
        std::string markup;
        std::string expected;
    };
    const Case cases[] = {
        {"a<br>b<z>hidden</z>c<b>d</b>", "a\r\nbcd"},
        {"a<BR>b<Br>c", "a\r\nb\r\nc"},
        {"x<Hr>y", "x\r\ny"},
        {"<z>gone</Z>kept", "gonekept"}, // mixed case does not make a section
        {"<b>bold</b><Z>h</Z>a<z>x</z>b", "boldab"},
        {"a<z>open", "aopen"}, // an unclosed section shows
        {"a<b", "a<b"},        // an unclosed tag stays as text
        {"<A href=\"x\">link</A> &amp;", "link &amp;"},
        {"&amp;&lt;", "&amp;&lt;"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MarkupToPlainText(c.markup), c.expected) << c.markup;
    }
}

} // namespace
} // namespace velmora
