// A folder of the sheet's swapped for a link after every check has passed, as the restore's move is
// made: the move still lands in the real folder, and nothing outside changes.
#include "HostileFolders.h"
#include "RunVelmoraFix.h"
#include "cue/repair/MoveRecord.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::FolderEntries;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;

TEST(SwappedLink, ARestoresMoveNeverFollowsALinkSwappedInAfterItsChecks) {
    const TempFolder root;
    const std::string sheet =
        "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    fs::create_directories(root / "dl/sub");
    fs::create_directories(root / "home");
    WriteBelow(root, "dl/game.cue", sheet);
    WriteBelow(root, "dl/game.bin", "image");
    WriteBelow(root, "dl/game.cue.moves", EncodeMoveRecord({{"sub/disc.bin", "game.bin"}}));
    const Finished finished = RunVelmoraFix(root.Path(), "--restore dl/game.cue",
                                            "env VELMORA_SWAP_FOLDER=" + (root / "dl/sub") +
                                                " VELMORA_SWAP_TO=" + (root / "home") + " " + kShimPrefix);
    EXPECT_EQ(finished.out, "dl/game.cue => RESTORED\n") << finished.err;
    EXPECT_EQ(FolderEntries(root / "home"), std::vector<std::string>{});
    EXPECT_TRUE(fs::is_symlink(root / "dl/sub"));
    EXPECT_EQ(ReadFile(root / "dl/sub.real/disc.bin"), "image");
}

// The sheet's folder is swapped for a link to another folder as the first file of a repair is created:
// the sheet and its backup are still written in the real folder, one sheet or a batch, and nothing lands
// where the link points.
TEST(SwappedLink, ARepairsWritesStayInTheFolderItOpenedWhenALinkIsSwappedIn) {
    for (const char* arguments : {" dl/a.cue", " dl/a.cue dl/b.cue"}) {
        SCOPED_TRACE(arguments);
        const TempFolder root;
        fs::create_directories(root / "home");
        WriteBelow(root, "dl/a.wav", "");
        WriteBelow(root, "dl/a.cue", kSheetToRewrite);
        WriteBelow(root, "dl/b.cue", kSheetToRewrite);
        const Finished finished =
            RunVelmoraFix(root.Path(), arguments,
                          "env VELMORA_SWAP_AT_CREATE=1 VELMORA_SWAP_FOLDER=" + (root / "dl") +
                              " VELMORA_SWAP_TO=" + (root / "home") + " " + kShimPrefix);
        EXPECT_NE(finished.out.find("dl/a.cue => CORRECTED\n"), std::string::npos)
            << finished.out << finished.err;
        EXPECT_EQ(FolderEntries(root / "home"), std::vector<std::string>{});
        ASSERT_TRUE(fs::is_symlink(root / "dl"));
        EXPECT_EQ(ReadFile(root / "dl.real/a.cue"), kSheetRewritten);
        EXPECT_EQ(ReadFile(root / "dl.real/a.cue.bak"), kSheetToRewrite);
    }
}

} // namespace
} // namespace velmora::fix
