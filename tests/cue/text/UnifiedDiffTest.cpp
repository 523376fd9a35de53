#include "cue/text/UnifiedDiff.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora {
namespace {

std::string Numbered(int from, int to, const std::string& prefix = "") {
    std::string text;
    for (int i = from; i <= to; ++i) {
        text += prefix + "line " + std::to_string(i) + "\r\n";
    }
    return text;
}

TEST(UnifiedDiff, ShowsChangedLinesWithThreeLinesOfContext) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n", ""},
        // Line breaks are bytes like any other: a change of them, or of the last line's, shows.
        {"a\nb", "a\r\nb\r\n", "@@ -1,2 +1,2 @@\n-a\n+a\r\n-b\n\\ No newline at end of file\n+b\r\n"},
        {"a\r\nb", "a\r\nb\r\n", "@@ -1,2 +1,2 @@\n a\r\n-b\n\\ No newline at end of file\n+b\r\n"},
        {"FILE \"a.wav\" WAVE\r\nTRACK 01\r\n", "FILE \"a.flac\" WAVE\r\nTRACK 01\r\n",
         "@@ -1,2 +1,2 @@\n-FILE \"a.wav\" WAVE\r\n+FILE \"a.flac\" WAVE\r\n TRACK 01\r\n"},
        {Numbered(1, 10), Numbered(1, 4) + "changed\r\n" + Numbered(6, 10),
         "@@ -2,7 +2,7 @@\n line 2\r\n line 3\r\n line 4\r\n-line 5\r\n+changed\r\n line 6\r\n line 7\r\n"
         " line 8\r\n"},
        // Changes further apart than twice the context make two hunks.
        {Numbered(1, 20), "x\r\n" + Numbered(2, 19) + "y\r\n",
         "@@ -1,4 +1,4 @@\n-line 1\r\n+x\r\n line 2\r\n line 3\r\n line 4\r\n@@ -17,4 +17,4 @@\n line 17\r\n"
         " line 18\r\n line 19\r\n-line 20\r\n+y\r\n"},
        {"P\r\nT\r\n", "P\r\nF\r\nT\r\n", "@@ -1,2 +1,3 @@\n P\r\n+F\r\n T\r\n"},
        {"", "new\r\n", "@@ -0,0 +1 @@\n+new\r\n"},
        {"old\r\n", "", "@@ -1 +0,0 @@\n-old\r\n"},
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
    EXPECT_NE(diff.find("\n-line 3000\r\n+xline 3000\r\n"), std::string::npos);
}

} // namespace
} // namespace velmora
