#include "graphics/Color.h"

#include <gtest/gtest.h>
#include <optional>

namespace velmora {
namespace {

// Puts the classic colours back whatever a test installed.
class ColorTest : public ::testing::Test {
protected:
    void TearDown() override { SetSysColorProvider({}); }
};

TEST_F(ColorTest, ResolvesOnlySystemColours) {
    struct Case {
        TColor input;
        TColor expected;
    };
    const Case cases[] = {
        {clRed, 0x0000FF},
        {0x123456, 0x123456},
        {clNone, clNone},                     // no colour stays no colour
        {clBtnFace, RGBColor(212, 208, 200)}, // 0xFF00000F
        {clHighlight, RGBColor(10, 36, 106)}, // 0xFF00000D
        {clHighlightText, clWhite},           // 0xFF00000E
        {clBtnShadow, RGBColor(128, 128, 128)},
        {cl3DDkShadow, RGBColor(64, 64, 64)},
        {clInfoBk, RGBColor(255, 255, 225)},
        {SystemColor(200), clBlack},                                        // no such index
        {static_cast<TColor>(0x80000005), static_cast<TColor>(0x80000005)}, // not the system form
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToRGB(c.input), c.expected) << std::hex << c.input;
    }
}

TEST_F(ColorTest, ProviderAnswersWhatItKnowsAndClassicValuesTheRest) {
    SetSysColorProvider([](int index) -> std::optional<TColor> {
        if (index == 15) {
            return RGBColor(1, 2, 3);
        }
        if (index == 5) {
            return static_cast<TColor>(0xFF00FF00); // stray high byte must not leak out
        }
        return std::nullopt;
    });
    struct Case {
        TColor input;
        TColor expected;
    };
    const Case cases[] = {
        {clBtnFace, RGBColor(1, 2, 3)},
        {clWindow, RGBColor(0, 255, 0)},
        {clBtnText, clBlack},
        {clInfoBk, RGBColor(255, 255, 225)},
        {clBlue, clBlue},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToRGB(c.input), c.expected) << std::hex << c.input;
    }
}

TEST_F(ColorTest, InstallingReturnsThePreviousProvider) {
    SetSysColorProvider([](int) -> std::optional<TColor> { return clRed; });
    const SysColorProvider previous =
        SetSysColorProvider([](int) -> std::optional<TColor> { return clLime; });
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous(3), clRed);
    EXPECT_EQ(SysColor(3), clLime);
    SetSysColorProvider({});
    EXPECT_EQ(SysColor(3), RGBColor(128, 128, 128));
}

TEST(ColorParts, SplitIntoRedGreenBlueWithRedLowest) {
    struct Case {
        TColor color;
        int red, green, blue;
    };
    const Case cases[] = {
        {0x00332211, 0x11, 0x22, 0x33},
        {clNavy, 0, 0, 0x80},
        {clMaroon, 0x80, 0, 0},
        {RGBColor(250, 5, 128), 250, 5, 128},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RedOf(c.color), c.red) << std::hex << c.color;
        EXPECT_EQ(GreenOf(c.color), c.green) << std::hex << c.color;
        EXPECT_EQ(BlueOf(c.color), c.blue) << std::hex << c.color;
    }
}

} // namespace
} // namespace velmora
