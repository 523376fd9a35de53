// Hostile folders through velmora-fix.exe under Wine. Wine makes no reparse points, so the links here
// are the Linux links a folder unpacked on Linux holds, which Wine follows without saying so; hard
// links Wine makes as Windows does.
#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"
#include "files/win32/WidePaths.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

using velmora::testkit::FolderEntries;
using velmora::testkit::MakeLinuxLink;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

bool MakeHardLink(const std::string& link, const std::string& existing) {
    return CreateHardLinkW(WidePath(link).c_str(), WidePath(existing).c_str(), nullptr) != 0;
}

TEST(WindowsHostileFolders, LinksAndSharedFilesNeverCarryAWriteOutOfTheFolder) {
    const struct {
        std::string Name;
        // Plants the hostile entry in "dl" (the download) or "home" (the user's files); false when this
        // system cannot.
        std::function<bool(const TempFolder&)> Plant;
        std::string Arguments;
        int Status;
        std::string Out;
        std::string Sheet;
        std::string Backup;
    } cases[] = {
        {"a backup that is a link to a user's file",
         [](const TempFolder& s) { return MakeLinuxLink(s / "dl", "../home/secret.txt", "album.cue.bak"); },
         "dl\\album.cue", 2, "dl\\album.cue => ERROR\n", kSheetToRewrite, "secret"},
        {"a backup hard-linked to a user's file",
         [](const TempFolder& s) { return MakeHardLink(s / "dl\\album.cue.bak", s / "home\\secret.txt"); },
         "dl\\album.cue", 0, "dl\\album.cue => CORRECTED\n", kSheetRewritten, kSheetToRewrite},
        {"a sheet hard-linked to a user's file",
         [](const TempFolder& s) { return MakeHardLink(s / "home\\kept.cue", s / "dl\\album.cue"); },
         "dl\\album.cue", 0, "dl\\album.cue => CORRECTED\n", kSheetRewritten, kSheetToRewrite},
        {"a folder named through a link",
         [](const TempFolder& s) { return MakeLinuxLink(s.Path(), "dl", "linked"); }, "linked\\album.cue", 0,
         "linked\\album.cue => CORRECTED\n", kSheetRewritten, kSheetToRewrite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder scratch;
        for (const char* folder : {"dl", "home"}) {
            ASSERT_TRUE(CreateDirectoryW(WidePath(scratch / folder).c_str(), nullptr));
        }
        WriteFile(scratch / "dl\\album.cue", kSheetToRewrite);
        WriteFile(scratch / "dl\\a.wav", "");
        WriteFile(scratch / "home\\secret.txt", "secret");
        if (!c.Plant(scratch)) {
            GTEST_SKIP() << "no such links here";
        }
        const std::vector<std::string> home = FolderEntries(scratch / "home");
        const Finished finished = RunVelmoraFix(scratch.Path(), c.Arguments);
        EXPECT_EQ(finished.status, c.Status) << finished.err;
        EXPECT_EQ(finished.out, c.Out);
        EXPECT_EQ(ReadFile(scratch / "dl\\album.cue"), c.Sheet);
        EXPECT_EQ(ReadFile(scratch / "dl\\album.cue.bak"), c.Backup);
        // Nothing of the user's changes: no file comes or goes, and none is written.
        EXPECT_EQ(FolderEntries(scratch / "home"), home);
        EXPECT_EQ(ReadFile(scratch / "home\\secret.txt"), "secret");
        if (home.size() == 2) {
            EXPECT_EQ(ReadFile(scratch / "home\\kept.cue"), kSheetToRewrite);
        }
    }
}

} // namespace
} // namespace velmora::fix
