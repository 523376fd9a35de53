#include "platform/win32/SystemShellIcons.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;

int OpaquePixels(const Bitmap& icon) {
    int count = 0;
    for (const Argb pixel : icon.Pixels()) {
        count += AlphaOf(pixel) != 0 ? 1 : 0;
    }
    return count;
}

class SystemShellIconsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("velmora-icons-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(folder_);
        std::ofstream(folder_ / "notes.txt") << "text";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
    SystemShellIcons icons_;
};

TEST_F(SystemShellIconsTest, FilesFoldersAndExtensionsHaveIconsOfTheListsSize) {
    struct Case {
        std::string source;
        bool byName;
    };
    const std::vector<Case> cases = {
        {folder_.string(), false},
        {(folder_ / "notes.txt").string(), false},
        {".txt", true},
        {"album.cue", true},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.source);
        const std::int32_t index = icons_.IconIndex(testCase.source, testCase.byName);
        ASSERT_GE(index, 0);
        for (const bool large : {false, true}) {
            const Bitmap icon = icons_.Icon(index, large);
            const Size size = icons_.IconSize(large);
            EXPECT_EQ((Size{icon.Width(), icon.Height()}), size);
            EXPECT_GT(OpaquePixels(icon), size.Width * size.Height / 8);
        }
    }
    // A number once given names the same icon: the same type, the same number.
    EXPECT_EQ(icons_.IconIndex((folder_ / "notes.txt").string(), false), icons_.IconIndex(".txt", true));
    EXPECT_NE(icons_.IconIndex(folder_.string(), false), icons_.IconIndex(".txt", true));
}

TEST_F(SystemShellIconsTest, SizesAreTheSystemListsAndNumbersWithoutAnIconGiveNothing) {
    EXPECT_EQ(icons_.IconSize(false), (Size{16, 16}));
    EXPECT_EQ(icons_.IconSize(true), (Size{32, 32}));
    for (const std::int32_t index : {-1, 1000000}) {
        EXPECT_TRUE(icons_.Icon(index, false).IsEmpty()) << index;
    }
}

} // namespace
} // namespace velmora
