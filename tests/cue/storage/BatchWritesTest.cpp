#include "cue/storage/BatchWrites.h"

#include "files/TemporaryNames.h"
#include "messages/Messages.h"
#include "tests/cue/TestSupport.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::ReadFile;
using testkit::TempFolder;
using testkit::WriteFile;

TEST(BatchWrites, NothingChangesUnderItsNameUntilTheCommitPutsEverythingInPlace) {
    TempFolder folder;
    WriteFile(folder / "a.cue", "old a");
    WriteFile(folder / "b.cue", "old b");
    ::chmod((folder / "b.cue").c_str(), 0600);
    const auto open = std::make_shared<OpenFolder>(folder.Path());
    BatchWrites batch;
    batch.StageBackup(0, open, "a.cue.bak", "old a", "a.cue");
    batch.StageSheet(0, open, "a.cue", "new a");
    batch.StageBackup(1, open, "b.cue.bak", "old b", "b.cue");
    batch.StageSheet(1, open, "b.cue", "new b");
    EXPECT_TRUE(batch.Stages(folder / "a.cue"));
    EXPECT_FALSE(batch.Stages(folder / "c.cue"));
    EXPECT_EQ(ReadFile(folder / "a.cue"), "old a");
    EXPECT_FALSE(std::filesystem::exists(folder / "a.cue.bak"));
    EXPECT_EQ(FolderEntries(folder.Path()).size(), 2u + 4u);

    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"a.cue", "a.cue.bak", "b.cue", "b.cue.bak"}));
    EXPECT_EQ(ReadFile(folder / "a.cue"), "new a");
    EXPECT_EQ(ReadFile(folder / "b.cue.bak"), "old b");
    struct stat info {};
    ::stat((folder / "b.cue.bak").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_TRUE(batch.Empty());
}

TEST(BatchWrites, AFailedSheetKeepsItsOldBytesAndTheOthersGoInPlace) {
    TempFolder folder;
    WriteFile(folder / "a.cue", "old a");
    WriteFile(folder / "b.cue", "old b");
    const auto open = std::make_shared<OpenFolder>(folder.Path());
    BatchWrites batch;
    batch.StageBackup(0, open, "a.cue.bak", "old a", "a.cue");
    // The backup's temporary is taken away before the commit.
    for (const std::string& entry : FolderEntries(folder.Path())) {
        if (IsTemporaryName(entry)) {
            std::filesystem::remove(folder / entry);
        }
    }
    batch.StageSheet(0, open, "a.cue", "new a");
    batch.StageSheet(1, open, "b.cue", "new b");
    const std::map<std::size_t, std::string> failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures.begin()->first, 0u);
    EXPECT_EQ(failures.begin()->second, "Impossible de créer le fichier \"" + (folder / "a.cue.bak") +
                                            "\". " + SystemErrorText(ENOENT));
    EXPECT_EQ(ReadFile(folder / "b.cue"), "new b");
    EXPECT_EQ(ReadFile(folder / "a.cue"), "old a");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"a.cue", "b.cue"}));
}

// The old sheet becomes its backup without a copy unless it has other names, which would then share
// the backup's bytes; either way the backup holds the old bytes and the sheet the new ones.
TEST(BatchWrites, TheOldSheetIsItsBackupUnlessItHasOtherNames) {
    for (const bool otherName : {false, true}) {
        SCOPED_TRACE(otherName ? "another name" : "one name");
        TempFolder folder;
        WriteFile(folder / "a.cue", "old a");
        if (otherName) {
            std::filesystem::create_hard_link(folder / "a.cue", folder / "elsewhere.cue");
        }
        struct stat old {};
        ::stat((folder / "a.cue").c_str(), &old);
        const auto open = std::make_shared<OpenFolder>(folder.Path());
        BatchWrites batch;
        batch.StageBackup(0, open, "a.cue.bak", "old a", "a.cue");
        batch.StageSheet(0, open, "a.cue", "new a");
        EXPECT_TRUE(batch.Commit().empty());
        struct stat backup {};
        ::stat((folder / "a.cue.bak").c_str(), &backup);
        EXPECT_EQ(backup.st_ino == old.st_ino, !otherName);
        EXPECT_EQ(ReadFile(folder / "a.cue.bak"), "old a");
        EXPECT_EQ(ReadFile(folder / "a.cue"), "new a");
        if (otherName) {
            EXPECT_EQ(ReadFile(folder / "elsewhere.cue"), "old a");
        }
    }
}

// The batch writes in the folder it was given open, even when a link to elsewhere takes its name.
TEST(BatchWrites, AFolderSwappedForALinkAfterItWasOpenedIsNotFollowed) {
    TempFolder root;
    std::filesystem::create_directories(root / "dl");
    std::filesystem::create_directories(root / "home");
    WriteFile(root / "dl/a.cue", "old a");
    const auto open = std::make_shared<OpenFolder>(root / "dl");
    BatchWrites batch;
    batch.StageBackup(0, open, "a.cue.bak", "old a", "a.cue");
    std::filesystem::rename(root / "dl", root / "dl.real");
    std::filesystem::create_directory_symlink(root / "home", root / "dl");
    batch.StageSheet(0, open, "a.cue", "new a");
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(FolderEntries(root / "home"), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(root / "dl.real/a.cue"), "new a");
    EXPECT_EQ(ReadFile(root / "dl.real/a.cue.bak"), "old a");
}

TEST(BatchWrites, WhatIsNotCommittedLeavesNoTemporary) {
    TempFolder folder;
    WriteFile(folder / "a.cue", "old a");
    {
        BatchWrites batch;
        batch.StageSheet(0, std::make_shared<OpenFolder>(folder.Path()), "a.cue", "new a");
        EXPECT_THROW(batch.StageSheet(1, std::make_shared<OpenFolder>(folder / "missing"), "b.cue", "x"),
                     Error);
    }
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"a.cue"});
    EXPECT_EQ(ReadFile(folder / "a.cue"), "old a");
}

} // namespace
} // namespace velmora
