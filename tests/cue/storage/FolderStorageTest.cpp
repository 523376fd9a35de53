#include "cue/storage/FolderStorage.h"

#include "tests/cue/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::FolderEntries;
using testkit::ReadFile;
using testkit::TempFolder;
using testkit::WriteFile;

// A storage kept from run to run (the window's) holds the folder it opened only while the folder's path
// still names it: a folder replaced between two runs is opened anew, and the second run's sheet is
// written in the folder it was read from.
TEST(FolderStorage, AFolderReplacedBetweenRunsIsOpenedAnew) {
    TempFolder root;
    fs::create_directories(root / "album");
    WriteFile(root / "album/a.cue", "old");
    FolderStorage storage;
    storage.ConfineTo(root / "album/");
    storage.WriteSheet(root / "album/a.cue", "first run");
    fs::rename(root / "album", root / "album.old");
    fs::create_directories(root / "album");
    WriteFile(root / "album/a.cue", "old");
    storage.ConfineTo(root / "album/");
    storage.WriteBackup(root / "album/a.cue.bak", "old", root / "album/a.cue");
    storage.WriteSheet(root / "album/a.cue", "second run");
    EXPECT_EQ(ReadFile(root / "album/a.cue"), "second run");
    EXPECT_EQ(ReadFile(root / "album/a.cue.bak"), "old");
    EXPECT_EQ(FolderEntries(root / "album.old"), std::vector<std::string>{"a.cue"});
    EXPECT_EQ(ReadFile(root / "album.old/a.cue"), "first run");
}

} // namespace
} // namespace velmora
