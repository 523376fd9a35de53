#include "cue/text/SheetLines.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SheetLines, FindsTheFirstLineWhoseFirstWordIsTheKeyword) {
    struct Case {
        std::string text;
        std::string keyword;
        std::optional<std::string> line;
    };
    const Case cases[] = {
        {"REM x\r\nFILE \"a\" WAVE\r\nFILE \"b\" WAVE", "FILE", "FILE \"a\" WAVE"},
        {"  \tFILE \"a\"", "FILE", "  \tFILE \"a\""},
        {"FILE\"a\"", "FILE", "FILE\"a\""},
        {"FILE", "FILE", "FILE"},
        {"FILES \"a\"\nPROFILE \"b\"\nREM FILE \"c\"", "FILE", std::nullopt},
        {"file \"a\"", "FILE", std::nullopt},
        {"TRACK01\rTRACK 01 AUDIO", "TRACK", "TRACK 01 AUDIO"},
        {"", "FILE", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<LineSpan> found = FindKeywordLine(c.text, c.keyword);
        EXPECT_EQ(found.has_value(), c.line.has_value()) << c.text;
        if (found && c.line) {
            EXPECT_EQ(c.text.substr(found->Start, found->Length), *c.line) << c.text;
        }
    }
}

TEST(SheetLines, ReplaceSpanReplacesOrInserts) {
    struct Case {
        std::string text;
        std::size_t start, length;
        std::string replacement, expected;
    };
    const Case cases[] = {
        {"abcdef", 0, 1, "X", "Xbcdef"}, {"abcdef", 3, 2, "YY", "abcYYf"},   {"abcdef", 6, 0, "!", "abcdef!"},
        {"abcdef", 2, 2, "", "abef"},    {"abcdef", 2, 0, "--", "ab--cdef"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceSpan(c.text, c.start, c.length, c.replacement), c.expected) << c.text;
    }
}

} // namespace
} // namespace velmora
