#include "markup/MarkupColors.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace velmora {
namespace {

TEST(MarkupColors, NamesNeedTheClPrefixAndAnExactMatch) {
    struct Case {
        std::string name;
        TColor expected;
    };
    const Case cases[] = {
        {"clred", 0x0000FF},
        {"clnavy", 0x800000},
        {"clmaroon", 0x000080},
        {"clteal", 0x808000},
        {"clwindow", static_cast<TColor>(0xFF000005)},
        {"clwindowframe", static_cast<TColor>(0xFF000006)},
        {"clinactivecaption", static_cast<TColor>(0xFF000003)},
        {"clinactivecaptiontext", static_cast<TColor>(0xFF000013)},
        {"clbtnface", static_cast<TColor>(0xFF00000F)},
        {"cl3ddkshadow", static_cast<TColor>(0xFF000015)},
        {"clinfobk", static_cast<TColor>(0xFF000018)},
        {"red", 0},
        {"clscrollbar", 0}, // not in the markup's table
        {"clRed", 0},       // names arrive lower-cased
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromName(c.name), c.expected) << c.name;
    }
}

TEST(MarkupColors, HexPairsFollowTheDigitFormulaWithoutValidation) {
    struct Case {
        std::string text;
        int expected;
    };
    const Case pairs[] = {
        {"FF", 255},
        {"00", 0},
        {"A0", 160},
        {"0A", 10},
        {"9", 0},
        {"", 0},
        {"fF", (102 - 55) * 16 + 15}, // lower case is not hexadecimal to the formula
        {"G1", 16 * 16 + 1},
    };
    for (const Case& c : pairs) {
        EXPECT_EQ(HexPairValue(c.text), c.expected) << c.text;
    }
    const struct {
        std::string text;
        TColor expected;
    } colors[] = {
        {"#FF0000", 0x0000FF},
        {"#00FF00", 0x00FF00},
        {"#0000FF", 0xFF0000},
        {"#123456", 0x563412},
        {"#FF", 0x0000FF}, // missing pairs count 0
        {"#F", 0},
        {"#", 0},
    };
    for (const auto& c : colors) {
        EXPECT_EQ(ColorFromHex(c.text), c.expected) << c.text;
    }
}

TEST(MarkupColors, AttributeValuesPickHexOrName) {
    struct Case {
        std::string value;
        std::optional<TColor> expected;
    };
    const Case cases[] = {
        {"#FF0000", 0x0000FF},
        {"CLRED", 0x0000FF}, // values come upper-cased and are looked up lower-cased
        {"CLBTNFACE", static_cast<TColor>(0xFF00000F)},
        {"RED", 0},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromValue(c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace velmora
