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
        {"#", 0},
        {"#fF", (102 - 55) * 16 + 15}, // lower case is no hexadecimal digit to the formula
        {"CLNAVY", 0x800000},
        {"CLWINDOWFRAME", static_cast<TColor>(0xFF000006)},
        {"CLINACTIVECAPTIONTEXT", static_cast<TColor>(0xFF000013)},
        {"CL3DDKSHADOW", static_cast<TColor>(0xFF000015)},
        {"CLINFOBK", static_cast<TColor>(0xFF000018)},
        {"RED", 0},
        {"CLSCROLLBAR", 0}, // not in the markup's table
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorFromValue(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(HexPairValue("9"), 0);
}

} // namespace
} // namespace velmora
