#include "cue/storage/FolderStorage.h"

#include "errors/Error.h"
#include "tests/cue/TestSupport.h"

#include <filesystem>
#include <functional>
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

// The run's own writes, moves and removes are never answered from what was looked up before them.
TEST(FolderStorage, WhatTheRunChangesIsLookedUpAgain) {
    TempFolder root;
    const std::string folder = root / "album/";
    fs::create_directories(folder);
    WriteFile(folder + "a.cue", "sheet");
    WriteFile(folder + "a.flac", "1234");
    FolderStorage storage;
    storage.ConfineTo(folder);
    struct Change {
        const char* Name;
        std::function<void()> Make;
        const char* Path;
        std::optional<std::uint64_t> Size;
    };
    const std::vector<Change> changes = {
        {"a move's source", [&] { EXPECT_FALSE(storage.MoveFile(folder + "a.flac", folder + "b.flac")); },
         "a.flac", std::nullopt},
        {"a move's target", [&] { EXPECT_FALSE(storage.MoveFile(folder + "b.flac", folder + "c.flac")); },
         "c.flac", 4},
        {"a removal", [&] { EXPECT_FALSE(storage.RemoveFile(folder + "c.flac")); }, "c.flac", std::nullopt},
        {"a sheet written", [&] { storage.WriteSheet(folder + "a.cue", "longer sheet"); }, "a.cue", 12},
        {"a backup", [&] { storage.WriteBackup(folder + "a.cue.bak", "sheet", folder + "a.cue"); },
         "a.cue.bak", 5},
        {"a record", [&] { storage.WriteMoveRecord(folder + "a.cue.moves", "record", folder + "a.cue"); },
         "a.cue.moves", 6},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.Name);
        const std::string path = folder + change.Path;
        const bool before = storage.FileExists(path);
        const std::optional<std::uint64_t> sizeBefore = storage.FileSize(path);
        change.Make();
        EXPECT_EQ(storage.FileSize(path), change.Size);
        EXPECT_EQ(storage.FileExists(path), change.Size.has_value());
        EXPECT_TRUE(before != change.Size.has_value() || sizeBefore != change.Size);
    }
}

// The listing may be minutes old when a sheet's turn comes: a link put in place of a listed sheet is
// not read through, so the file it leads to never becomes the sheet or its backup.
TEST(FolderStorage, ALinkSwappedInForAListedSheetIsNotReadThrough) {
    TempFolder root;
    const std::string folder = root / "album/";
    fs::create_directories(folder);
    WriteFile(root / "private", "FILE \"x.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 0:0:1\n");
    WriteFile(folder + "a.cue", "sheet");
    FolderStorage storage;
    storage.Listed(folder + "a.cue", EntryKind::RegularFile);
    fs::remove(folder + "a.cue");
    fs::create_symlink(root / "private", folder + "a.cue");
    const std::string lies = storage.WhereItLies(folder + "a.cue");
    EXPECT_EQ(lies, folder + "a.cue");
    EXPECT_THROW(storage.ReadFile(lies, 1 << 20, FinalLink::Follow), Error);
    // Asked again without the listing, the storage looks, finds the link and resolves it.
    EXPECT_EQ(fs::path(storage.WhereItLies(folder + "a.cue")), fs::canonical(root / "private"));
}

} // namespace
} // namespace velmora
