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

} // namespace
} // namespace velmora::fix
