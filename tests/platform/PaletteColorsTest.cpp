#include "platform/desktop/PaletteColors.h"

#include "QtTestSupport.h"
#include "graphics/Color.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace velmora {
namespace {

struct RoleCase {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

TEST(PaletteColorsTest, SystemColoursWithARoleFollowThePalette) {
    testkit::Application();
    const QPalette saved = QGuiApplication::palette();
    const RoleCase cases[] = {
        {5, QPalette::Active, QPalette::Base},       {8, QPalette::Active, QPalette::Text},
        {13, QPalette::Active, QPalette::Highlight}, {15, QPalette::Active, QPalette::Button},
        {17, QPalette::Disabled, QPalette::Text},    {24, QPalette::Active, QPalette::ToolTipBase},
        {21, QPalette::Active, QPalette::Shadow},    {26, QPalette::Active, QPalette::Link},
    };
    const SysColorProvider previous = SetSysColorProvider({});
    InstallPaletteSysColors();
    for (const RoleCase& c : cases) {
        SCOPED_TRACE(c.index);
        QPalette palette = saved;
        palette.setColor(c.group, c.role, QColor(0x12, 0x34, 0x56));
        QGuiApplication::setPalette(palette);
        EXPECT_EQ(PaletteSysColor(c.index), RGBColor(0x12, 0x34, 0x56));
        EXPECT_EQ(SysColor(c.index), RGBColor(0x12, 0x34, 0x56));
    }
    QGuiApplication::setPalette(saved);
    SetSysColorProvider(previous);
}

TEST(PaletteColorsTest, CaptionsBordersAndUnknownIndexesKeepTheClassicValues) {
    testkit::Application();
    const SysColorProvider previous = SetSysColorProvider({});
    InstallPaletteSysColors();
    for (const int index : {1, 2, 3, 6, 9, 10, 11, 12, 19, 27, 28, 31, -1}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(PaletteSysColor(index), std::nullopt);
        EXPECT_EQ(SysColor(index), ClassicSysColor(index));
    }
    SetSysColorProvider(previous);
}

} // namespace
} // namespace velmora
