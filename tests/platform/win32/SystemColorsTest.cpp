#include "platform/win32/SystemColors.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace velmora {
namespace {

// The window colour is changed for the test to one no scheme has, so that classic values cannot pass.
TEST(SystemColorsTest, SystemColoursAreWindowsOwnOnceInstalled) {
    const int index = COLOR_WINDOW;
    const COLORREF saved = GetSysColor(index);
    const COLORREF unusual = RGB(1, 2, 3);
    ASSERT_TRUE(SetSysColors(1, &index, &unusual));
    const SysColorProvider before = SetSysColorProvider(nullptr);
    EXPECT_NE(SysColor(COLOR_WINDOW), RGBColor(1, 2, 3));

    InstallWindowsSysColors();
    EXPECT_EQ(SysColor(COLOR_WINDOW), RGBColor(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clWindow), RGBColor(1, 2, 3));
    EXPECT_EQ(SysColor(COLOR_HIGHLIGHT), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));

    SetSysColorProvider(before);
    SetSysColors(1, &index, &saved);
}

TEST(SystemColorsTest, AnUnknownIndexIsNoColour) {
    EXPECT_EQ(WindowsSysColor(-1), std::nullopt);
    EXPECT_EQ(WindowsSysColor(200), std::nullopt);
    EXPECT_NE(WindowsSysColor(COLOR_WINDOW), std::nullopt);
}

} // namespace
} // namespace velmora
