#include "cue/SheetLines.h"

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
        ASSERT_EQ(found.has_value(), c.line.has_value()) << c.text;
        if (found) {
            EXPECT_EQ(c.text.substr(found->Start, found->Length), *c.line);
        }
    }
}

TEST(SheetLines, AppliesEditsInOnePass) {
    struct Case {
        std::string text;
        std::vector<TextEdit> edits;
        std::string expected;
    };
    const Case cases[] = {
        {"abcdef", {}, "abcdef"},
        {"abcdef", {{0, 1, "X"}, {3, 2, "YY"}}, "XbcYYf"},
        {"abcdef", {{6, 0, "!"}}, "abcdef!"},
        {"abcdef", {{2, 0, "--"}, {2, 2, ""}}, "ab--ef"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyEdits(c.text, c.edits), c.expected) << c.text;
}

} // namespace
} // namespace velmora
