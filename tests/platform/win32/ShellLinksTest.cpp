#include "platform/win32/ShellLinks.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// What nothing can open is reported, not passed over as opened.
TEST(ShellLinksTest, ATargetNothingOpensIsReported) {
    EXPECT_FALSE(ShellOpen("C:\\velmora-missing-folder\\no such file \xE9.txt"));
    EXPECT_FALSE(ShellOpen(""));
}

} // namespace
} // namespace velmora
