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
    BatchWrites batch;
    batch.StageBackup(0, folder / "a.cue.bak", "old a", folder / "a.cue");
    batch.StageSheet(0, folder / "a.cue", "new a");
    batch.StageBackup(1, folder / "b.cue.bak", "old b", folder / "b.cue");
    batch.StageSheet(1, folder / "b.cue", "new b");
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
    std::filesystem::create_directories(folder / "gone");
    WriteFile(folder / "gone/a.cue", "old a");
    WriteFile(folder / "b.cue", "old b");
    BatchWrites batch;
    batch.StageBackup(0, folder / "gone/a.cue.bak", "old a", folder / "gone/a.cue");
    batch.StageSheet(0, folder / "gone/a.cue", "new a");
    batch.StageSheet(1, folder / "b.cue", "new b");
    // The backup's folder is replaced by one without its temporary before the commit.
    std::filesystem::rename(folder / "gone", folder / "moved");
    std::filesystem::create_directories(folder / "gone");
    const std::map<std::size_t, std::string> failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures.begin()->first, 0u);
    EXPECT_EQ(failures.begin()->second, "Impossible de créer le fichier \"" + (folder / "gone/a.cue.bak") +
                                            "\". " + SystemErrorText(ENOENT));
    EXPECT_EQ(ReadFile(folder / "b.cue"), "new b");
    EXPECT_EQ(ReadFile(folder / "moved/a.cue"), "old a");
    // Its temporaries went with the folder, where a later write sweeps them away.
    for (const std::string& entry : FolderEntries(folder / "moved")) {
        EXPECT_TRUE(entry == "a.cue" || IsTemporaryName(entry)) << entry;
    }
}

TEST(BatchWrites, WhatIsNotCommittedLeavesNoTemporary) {
    TempFolder folder;
    WriteFile(folder / "a.cue", "old a");
    {
        BatchWrites batch;
        batch.StageSheet(0, folder / "a.cue", "new a");
        EXPECT_THROW(batch.StageSheet(1, folder / "missing/b.cue", "x"), Error);
    }
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"a.cue"});
    EXPECT_EQ(ReadFile(folder / "a.cue"), "old a");
}

} // namespace
} // namespace velmora
