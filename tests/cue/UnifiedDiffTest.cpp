#include "cue/UnifiedDiff.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora {
namespace {

std::string Numbered(int from, int to, const std::string& prefix = "") {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += prefix + "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(UnifiedDiff, ShowsChangedLinesWithThreeLinesOfContext) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"a\r\nb\r\n", "a\nb", ""},
        {"FILE \"a.wav\" WAVE\r\nTRACK 01\r\n", "FILE \"a.flac\" WAVE\r\nTRACK 01\r\n",
         "@@ -1,2 +1,2 @@\n-FILE \"a.wav\" WAVE\n+FILE \"a.flac\" WAVE\n TRACK 01\n"},
        {Numbered(1, 10), Numbered(1, 4) + "changed\r\n" + Numbered(6, 10),
         "@@ -2,7 +2,7 @@\n line 2\n line 3\n line 4\n-line 5\n+changed\n line 6\n line 7\n line 8\n"},
        // Changes further apart than twice the context make two hunks.
        {Numbered(1, 20), "x\r\n" + Numbered(2, 19) + "y\r\n",
         "@@ -1,4 +1,4 @@\n-line 1\n+x\n line 2\n line 3\n line 4\n@@ -17,4 +17,4 @@\n line 17\n line 18\n "
         "line 19\n"
         "-line 20\n+y\n"},
        {"P\r\nT\r\n", "P\r\nF\r\nT\r\n", "@@ -1,2 +1,3 @@\n P\n+F\n T\n"},
        {"", "new\r\n", "@@ -0,0 +1 @@\n+new\n"},
        {"old\r\n", "", "@@ -1 +0,0 @@\n-old\n"},
    };
    for (const auto& [before, after, hunks] : cases) {
        const std::string diff = UnifiedDiff(before, after, "/m/s.cue", "/m/s.cue");
        EXPECT_EQ(diff, hunks.empty() ? "" : "--- /m/s.cue\n+++ /m/s.cue\n" + hunks) << before;
    }
}

TEST(UnifiedDiff, EveryLineChangedIsOneHunkOfPairs) {
    const std::string diff = UnifiedDiff(Numbered(1, 3000), Numbered(1, 3000, "x"), "a", "b");
    EXPECT_EQ(diff.substr(0, 34), "--- a\n+++ b\n@@ -1,3000 +1,3000 @@\n");
    EXPECT_EQ(std::count(diff.begin(), diff.end(), '\n'), 2 + 1 + 6000);
    EXPECT_NE(diff.find("\n-line 3000\n+xline 3000\n"), std::string::npos);
}

} // namespace
} // namespace velmora
