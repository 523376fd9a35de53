#include "markup/MarkupColors.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace velmora {
namespace {

TEST(MarkupColors, ValuesAreHexOrClNames) {
    struct Case {
        std::string value; // as read from upper-cased attribute text
        std::optional<TColor> expected;
    };
    const Case cases[] = {
        {"#FF0000", 0x0000FF},
        {"#123456", 0x563412},
        {"#FF", 0x0000FF}, // missing pairs count 0
        {"#F", 0},
        {"#", 0},
        {"#fF", (102 - 55) * 16 + 15}, // lower case is no hexadecimal digit to the formula
        {"CLRED", 0x0000FF},           // looked up lower-cased
        {"CLNAVY", 0x800000},
        {"CLMAROON", 0x000080},
        {"CLTEAL", 0x808000},
        {"CLWINDOW", static_cast<TColor>(0xFF000005)},
        {"CLWINDOWFRAME", static_cast<TColor>(0xFF000006)},
        {"CLINACTIVECAPTION", static_cast<TColor>(0xFF000003)},
        {"CLINACTIVECAPTIONTEXT", static_cast<TColor>(0xFF000013)},
        {"CLBTNFACE", static_cast<TColor>(0xFF00000F)},
        {"CL3DDKSHADOW", static_cast<TColor>(0xFF000015)},
        {"CLINFOBK", static_cast<TColor>(0xFF000018)},
        {"RED", 0},
        {"CLSCROLLBAR", 0}, // not in the markup's table
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromValue(c.value), c.expected) << c.value;
    }
}

TEST(MarkupColors, NamesNeedAnExactLowerCaseMatch) {
    struct Case {
        std::string name;
        TColor expected;
    };
    const Case cases[] = {
        {"clred", 0x0000FF},
        {"clRed", 0}, // names arrive lower-cased
        {"red", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromName(c.name), c.expected) << c.name;
    }
}

TEST(MarkupColors, HexPairsFollowTheDigitFormula) {
    struct Case {
        std::string pair;
        int expected;
    };
    const Case cases[] = {
        {"A0", 160}, {"0A", 10}, {"G1", 16 * 16 + 1}, {"9", 0}, {"", 0}, // fewer than two count 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexPairValue(c.pair), c.expected) << c.pair;
    }
}

} // namespace
} // namespace velmora
