// Two velmora-fix runs in one folder at once: a batch stopped with its files staged, and a second run on
// another sheet. The second run's sweep leaves what the living batch staged, and takes what a killed
// one left.
#include "HostileFolders.h"
#include "RunVelmoraFix.h"

#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

// Waits, a minute at most, for `path` to be there.
bool AppearsIn(const std::string& path) {
    const timespec step{0, 10'000'000};
    for (int i = 0; i < 6000 && !fs::exists(path); ++i) {
        ::nanosleep(&step, nullptr);
    }
    return fs::exists(path);
}

TEST(TwoRunsInOneFolder, ASweepTakesOnlyWhatARunThatIsGoneLeft) {
    for (const bool batchKilled : {false, true}) {
        SCOPED_TRACE(batchKilled ? "the batch killed" : "the batch living");
        const TempFolder folder;
        const TempFolder control;
        WriteFile(folder / "a.wav", "");
        WriteFile(folder / "other.cue", kSheetToRewrite);
        const std::vector<std::string> batchSheets = {"s0.cue", "s1.cue", "s2.cue"};
        for (const std::string& name : batchSheets) {
            WriteFile(folder / name, kSheetToRewrite);
        }
        const std::string resume = control / "resume";
        const Started batch =
            StartVelmoraFix(folder.Path(), "s0.cue s1.cue s2.cue",
                            "env VELMORA_PAUSE_BEFORE_SYNCFS=" + resume + " " + kShimPrefix);
        ASSERT_TRUE(AppearsIn(resume + ".paused"));
        const std::set<std::string> staged = TemporaryNamesBelow(folder.Path());
        // Each sheet stages itself, its backup and its record.
        ASSERT_EQ(staged.size(), 3 * batchSheets.size());
        if (batchKilled) {
            ASSERT_EQ(::kill(std::stoi(ReadFile(resume + ".paused")), SIGKILL), 0);
            EXPECT_NE(WaitFor(batch).status, 0);
        }
        // Past the clock's grain, so the batch's files are dated before the second run started.
        const timespec later{0, 50'000'000};
        ::nanosleep(&later, nullptr);

        const Finished second = RunVelmoraFix(folder.Path(), "other.cue");
        EXPECT_EQ(second.status, 0) << second.out << second.err;
        EXPECT_NE(second.out.find("other.cue => CORRECTED\n"), std::string::npos) << second.out;
        EXPECT_EQ(ReadFile(folder / "other.cue"), kSheetRewritten);
        EXPECT_EQ(TemporaryNamesBelow(folder.Path()), batchKilled ? std::set<std::string>{} : staged);
        if (batchKilled) {
            for (const std::string& name : batchSheets) {
                EXPECT_EQ(ReadFile(folder / name), kSheetToRewrite) << name;
            }
            continue;
        }

        WriteFile(resume, "");
        const Finished first = WaitFor(batch);
        EXPECT_EQ(first.status, 0) << first.out << first.err;
        for (const std::string& name : batchSheets) {
            EXPECT_NE(first.out.find(name + " => CORRECTED\n"), std::string::npos) << first.out;
            EXPECT_EQ(ReadFile(folder / name), kSheetRewritten) << name;
            EXPECT_EQ(ReadFile(folder / (name + ".bak")), kSheetToRewrite) << name;
        }
        EXPECT_EQ(TemporaryNamesBelow(folder.Path()), std::set<std::string>{});
    }
}

} // namespace
} // namespace velmora::fix
