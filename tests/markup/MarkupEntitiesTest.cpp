#include "markup/MarkupEntities.h"

#include "markup/MarkupText.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace velmora {
namespace {

// The replacement as the language states it: rounds over the nine entities, each replacing its first
// occurrence, until a round replaces nothing.
std::string EntitiesByRounds(std::string text) {
    const char* const entities[][2] = {
        {"&amp;", "&&"},    {"&quot;", "\""},   {"&sect;", "\xA7"},  {"&permil;", "\x89"}, {"&reg;", "\xAE"},
        {"&copy;", "\xA9"}, {"&para;", "\xB6"}, {"&trade;", "\x99"}, {"&euro;", "\x80"},
    };
    bool any = true;
    while (any) {
        any = false;
        for (const auto& entity : entities) {
            any = ReplaceFirstIgnoreCase(entity[0], entity[1], text) || any;
        }
    }
    return text;
}

TEST(MarkupEntities, TextEntities) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"a &amp; b", "a && b"},
        {"&AMP;&Quot;", "&&\""},
        {"&sect;&permil;&reg;&copy;&para;&trade;&euro;", "\xA7\x89\xAE\xA9\xB6\x99\x80"},
        {"&amp;quot;", "&\""}, // the second "&" of "&&" starts the next entity
        {"&amp;amp;", "&&&"},  // a replacement completes a new entity
        {"&&quot;", "&\""},
        {"&nbsp; &lt;", "&nbsp; &lt;"}, // run entities wait for the run
        {"&amp", "&amp"},
        {"no entity", "no entity"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceTextEntities(c.text), c.expected) << c.text;
        EXPECT_EQ(EntitiesByRounds(c.text), c.expected) << c.text;
    }
}

TEST(MarkupEntities, OneScanEndsWhereTheRoundsEnd) {
    // Random texts over the letters of the entities, so that overlaps and chains occur often.
    const std::string alphabet = "&;ampquotsecrgdlhuEAMPQ x";
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        ASSERT_EQ(ReplaceTextEntities(text), EntitiesByRounds(text)) << text;
    }
}

TEST(MarkupEntities, PrepareMarkup) {
    struct Case {
        std::string markup;
        std::string expected;
    };
    const Case cases[] = {
        {"a\r\nb", "a<BR>b"},
        {"a\nb", "ab"},
        {"<#tag> &amp;", "#tag &&"},
        {"&amp;#x\r", "&&#x<BR>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrepareMarkup(c.markup), c.expected) << c.markup;
    }
}

TEST(MarkupEntities, RunEntitiesOnlyInLowerCase) {
    struct Case {
        std::string run;
        std::string expected;
    };
    const Case cases[] = {
        {"a&nbsp;b", "a b"}, {"&lt;b&gt;", "<b>"}, {"&NBSP;", "&NBSP;"}, {"&LT;", "&LT;"},
        {"&&lt;", "&<"},     {"&nbsp", "&nbsp"},   {"&lt;&lt;", "<<"},   {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceRunEntities(c.run), c.expected) << c.run;
    }
}

} // namespace
} // namespace velmora
