#include "../cue/TestSupport.h"
#include "../messages/ScopedLanguage.h"
#include "RunVelmoraFix.h"

#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

TEST(VelmoraFix, HelpVersionAndUsageErrors) {
    const ScopedLanguage english(kEnglishMessages);
    TempFolder scratch;
    const struct {
        std::string arguments;
        int status;
        std::string outStart;
        std::string errStart;
    } cases[] = {
        {"--help", 0,
         "Usage: velmora-fix [--bin FILE] [--audio FILE] [--auto] [--dry-run] [--recursive] [--json] "
         "[--quiet] "
         "PATH...",
         ""},
        {"--version", 0, "velmora-fix 1.0.0\n", ""},
        {"", 2, "", "velmora-fix: no PATH given\nUsage: velmora-fix"},
        {"--frobnicate x.cue", 2, "", "velmora-fix: unknown option --frobnicate\n"},
    };
    for (const auto& c : cases) {
        const Finished finished = RunVelmoraFix(scratch.Path(), c.arguments);
        EXPECT_EQ(finished.status, c.status) << c.arguments;
        EXPECT_EQ(finished.out.substr(0, c.outStart.size()), c.outStart) << c.arguments;
        EXPECT_EQ(finished.err.substr(0, c.errStart.size()), c.errStart) << c.arguments;
    }
}

TEST(VelmoraFix, RepairsRealSheetsGivenRelativeToTheWorkingFolder) {
    TempFolder scratch;
    TempFolder folder;
    WriteFile(folder / "album.cue", "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n"
                                    "    INDEX 01 0:1:80\n");
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "notes.txt", "");
    const Finished finished = RunVelmoraFix(folder.Path(), "album.cue notes.txt");
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.out, "album.cue => CORRECTED\nnotes.txt => WARNING\n");
    EXPECT_EQ(finished.err, "velmora-fix: notes.txt n'est pas un CUE valide\n");
    EXPECT_EQ(ReadFile(folder / "album.cue"), "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\n"
                                              "  TRACK 01 AUDIO\n    INDEX 01 00:02:05\n");
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\n"
                                                  "  TRACK 01 AUDIO\n    INDEX 01 0:1:80\n");
}

} // namespace
} // namespace velmora::fix
