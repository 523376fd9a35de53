#include "text/AsciiCase.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

// Picture names and addresses ignore the case of a-z only: accented letters stay distinct.
TEST(AsciiCase, OnlyLettersAToZChangeCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"res://Logo.gif", "RES://LOGO.GIF"},
        {"\xe9t\xe9\x9a", "\xe9T\xe9\x9a"},
        {"[`{@]", "[`{@]"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(UpperAscii(text), expected) << text;
    }
}

TEST(AsciiCase, StartsWithIgnoringAsciiCase) {
    struct Case {
        std::string text, prefix;
        bool expected;
    };
    const Case cases[] = {
        {"res://logo", "RES://", true},
        {"File://x", "FILE://", true},
        {"RES:/", "RES://", false},
        {"\xe9x", "\xc9", false},
        {"abc", "", true},
        {"", "a", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartsWithIgnoringAsciiCase(c.text, c.prefix), c.expected) << c.text << " / " << c.prefix;
    }
}

} // namespace
} // namespace velmora
