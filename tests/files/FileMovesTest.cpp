#include "files/FileMoves.h"

#include "errors/Error.h"
#include "files/testing/ScratchFiles.h"
#include "messages/Messages.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::HandToUnprivilegedUser;
using testkit::ReadFile;
using testkit::RunUnprivileged;
using testkit::TempFolder;
using testkit::WriteFile;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

TEST(MoveFileNoReplace, RenamesButNeverReplaces) {
    TempFolder folder;
    WriteFile(folder / "a.bin", "image");
    WriteFile(folder / "b.bin", "other");
    const std::tuple<std::string, std::string, int> refused[] = {
        {folder / "a.bin", folder / "b.bin", EEXIST},
        {folder / "a.bin", folder / "a.bin", EEXIST},
        {folder / "a.bin", folder.Path(), EEXIST},
        {folder / "gone.bin", folder / "c.bin", ENOENT},
        {folder / "a.bin", folder / "no/folder.bin", ENOENT},
        {folder / "a.bin", "", ENOENT},
    };
    for (const auto& [from, to, error] : refused) {
        EXPECT_EQ(MoveFileNoReplace(from, to).value(), error) << from << " -> " << to;
    }
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"a.bin", "b.bin"}));
    EXPECT_EQ(ReadFile(folder / "b.bin"), "other");

    EXPECT_FALSE(MoveFileNoReplace(folder / "a.bin", folder / "c.bin"));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"b.bin", "c.bin"}));
    EXPECT_EQ(ReadFile(folder / "c.bin"), "image");
}

TEST(MoveFileNoReplace, RenamesIntoAnotherFolderOfTheSameFileSystem) {
    TempFolder folder;
    ::mkdir((folder / "sub").c_str(), 0755);
    WriteFile(folder / "a.bin", "image");
    EXPECT_FALSE(MoveFileNoReplace(folder / "a.bin", folder / "sub/b.bin"));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"sub"});
    EXPECT_EQ(ReadFile(folder / "sub/b.bin"), "image");
}

TEST(RegularFileExists, OnlyFilesCount) {
    TempFolder folder;
    WriteFile(folder / "a.bin", "");
    ::symlink((folder / "a.bin").c_str(), (folder / "link.bin").c_str());
    ::symlink((folder / "gone.bin").c_str(), (folder / "dangling.bin").c_str());
    const std::pair<std::string, bool> cases[] = {
        {folder / "a.bin", true}, {folder / "link.bin", true}, {folder / "dangling.bin", false},
        {folder.Path(), false},   {folder / "b.bin", false},   {"", false},
    };
    for (const auto& [path, exists] : cases) {
        EXPECT_EQ(RegularFileExists(path), exists) << path;
    }
}

// /dev/shm against the temporary folder: two file systems on most machines.
class CrossDeviceMove : public ::testing::Test {
protected:
    void SetUp() override {
        if (StatOf(source.Path()).st_dev == StatOf(target.Path()).st_dev) {
            GTEST_SKIP() << "/dev/shm and the temporary folder share a file system here";
        }
        WriteFile(source / "a.bin", "image");
    }
    TempFolder source{"/dev/shm"};
    TempFolder target;
};

TEST_F(CrossDeviceMove, CopiesWithModeAndTimesThenRemovesTheSource) {
    ::chmod((source / "a.bin").c_str(), 0604);
    const timespec times[2] = {{1000000, 0}, {2000000, 0}};
    ::utimensat(AT_FDCWD, (source / "a.bin").c_str(), times, 0);
    EXPECT_FALSE(MoveFileNoReplace(source / "a.bin", target / "b.bin"));
    EXPECT_TRUE(FolderEntries(source.Path()).empty());
    EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::string>{"b.bin"});
    EXPECT_EQ(ReadFile(target / "b.bin"), "image");
    EXPECT_EQ(StatOf(target / "b.bin").st_mode & 07777, 0604u);
    EXPECT_EQ(StatOf(target / "b.bin").st_mtim.tv_sec, 2000000);
}

TEST_F(CrossDeviceMove, CopiesContentLongerThanOneChunk) {
    std::string content(200000, 'x');
    for (std::size_t i = 0; i < content.size(); i += 997) {
        content[i] = static_cast<char>('a' + i % 26);
    }
    WriteFile(source / "big.bin", content);
    EXPECT_FALSE(MoveFileNoReplace(source / "big.bin", target / "big.bin"));
    EXPECT_EQ(ReadFile(target / "big.bin"), content);
    EXPECT_EQ(FolderEntries(source.Path()), std::vector<std::string>{"a.bin"});
}

TEST_F(CrossDeviceMove, AFailureLeavesTheSourceAndNoPartialFile) {
    WriteFile(target / "b.bin", "other");
    ::mkdir((source / "folder").c_str(), 0755);
    const std::tuple<std::string, std::string, int> cases[] = {
        {source / "a.bin", target / "b.bin", EEXIST},
        {source / "a.bin", target / "missing/b.bin", ENOENT},
        {source / "folder", target / "folder", EISDIR},
    };
    for (const auto& [from, to, error] : cases) {
        EXPECT_EQ(MoveFileNoReplace(from, to).value(), error) << from << " -> " << to;
    }
    EXPECT_EQ(ReadFile(source / "a.bin"), "image");
    EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::string>{"b.bin"});
    EXPECT_EQ(ReadFile(target / "b.bin"), "other");
}

TEST_F(CrossDeviceMove, WithoutRightsToRemoveTheSourceOrWriteTheTargetNothingMoves) {
    ::mkdir((target / "shut").c_str(), 0555);
    for (const std::string& path : {source.Path(), source / "a.bin", target.Path()}) {
        HandToUnprivilegedUser(path);
    }
    const std::string results = RunUnprivileged([&] {
        std::string codes =
            std::to_string(MoveFileNoReplace(source / "a.bin", target / "shut/b.bin").value());
        ::chmod(source.Path().c_str(), 0555);
        return codes + " " + std::to_string(MoveFileNoReplace(source / "a.bin", target / "b.bin").value());
    });
    EXPECT_EQ(results, std::to_string(EACCES) + " " + std::to_string(EACCES));
    EXPECT_EQ(ReadFile(source / "a.bin"), "image");
    EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::string>{"shut"});
    EXPECT_TRUE(FolderEntries(target / "shut").empty());
}

TEST(WriteFileAtomically, ReplacesContentKeepsModeAndFollowsLinks) {
    TempFolder folder;
    WriteFile(folder / "s.cue", "old content that is longer");
    ::chmod((folder / "s.cue").c_str(), 0640);
    ::symlink("s.cue", (folder / "link.cue").c_str());
    WriteFileAtomically(folder / "link.cue", "new");
    const mode_t mask = ::umask(022);
    WriteFileAtomically(folder / "new.cue", "x");
    ::umask(mask);
    EXPECT_EQ(ReadFile(folder / "new.cue"), "x");
    const std::string longest = std::string(251, 'n') + ".cue";
    WriteFileAtomically(folder / longest, "long name");
    EXPECT_EQ(ReadFile(folder / longest), "long name");
    std::filesystem::remove(folder / longest);
    EXPECT_EQ(ReadFile(folder / "s.cue"), "new");
    EXPECT_EQ(StatOf(folder / "s.cue").st_mode & 07777, 0640u);
    EXPECT_EQ(StatOf(folder / "new.cue").st_mode & 07777, 0644u);
    struct stat link {};
    ::lstat((folder / "link.cue").c_str(), &link);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"link.cue", "new.cue", "s.cue"}));
}

TEST(WriteFileAtomically, AFullDiskLeavesTheOldContentWhole) {
    TempFolder folder;
    const std::string old = "PERFORMER \"p\"\r\n" + std::string(1000, 'x');
    WriteFile(folder / "s.cue", old);
    HandToUnprivilegedUser(folder.Path());
    HandToUnprivilegedUser(folder / "s.cue");
    // A file size limit makes writing stop part way, as a full disk would.
    const std::string message = RunUnprivileged([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteFileAtomically(folder / "s.cue", std::string(100000, 'y'));
            return std::string("written");
        } catch (const Error& error) {
            return std::string(error.what());
        }
    });
    EXPECT_EQ(message,
              "Impossible de créer le fichier \"" + (folder / "s.cue") + "\". " + SystemErrorText(EFBIG));
    EXPECT_EQ(ReadFile(folder / "s.cue"), old);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"s.cue"});
}

TEST(WriteFileAtomically, RefusesReadOnlyFilesAndFoldersForAnOrdinaryUser) {
    TempFolder folder;
    ::mkdir((folder / "ro").c_str(), 0755);
    ::mkdir((folder / "dir.cue").c_str(), 0755);
    WriteFile(folder / "readonly.cue", "keep");
    WriteFile(folder / "ro/inside.cue", "keep");
    for (const char* path : {"", "ro", "readonly.cue", "dir.cue", "ro/inside.cue"}) {
        HandToUnprivilegedUser(folder / path);
    }
    ::chmod((folder / "readonly.cue").c_str(), 0444);
    ::chmod((folder / "ro").c_str(), 0555);
    const std::pair<std::string, std::string> cases[] = {
        {folder / "readonly.cue", SystemErrorText(EACCES)},
        {folder / "ro/inside.cue", SystemErrorText(EACCES)},
        {folder / "ro/new.cue", SystemErrorText(EACCES)},
        {folder / "dir.cue", SystemErrorText(EISDIR)},
        {folder / "missing/new.cue", SystemErrorText(ENOENT)},
    };
    for (const auto& [path, systemText] : cases) {
        const std::string message = RunUnprivileged([&path = path] {
            try {
                WriteFileAtomically(path, "new");
                return std::string("written");
            } catch (const Error& error) {
                return std::string(error.what());
            }
        });
        EXPECT_EQ(message, "Impossible de créer le fichier \"" + path + "\". " + systemText);
    }
    EXPECT_EQ(ReadFile(folder / "readonly.cue"), "keep");
    EXPECT_EQ(ReadFile(folder / "ro/inside.cue"), "keep");
    EXPECT_EQ(FolderEntries(folder / "ro"), std::vector<std::string>{"inside.cue"});
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"dir.cue", "readonly.cue", "ro"}));
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

TEST(WriteBackupFile, NeverWritesThroughOrReplacesWhatIsNotARegularFile) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "sheet");
    WriteFile(folder / "target", "keep");
    ::symlink("target", (folder / "link.cue.bak").c_str());
    ::symlink("nowhere", (folder / "dangling.cue.bak").c_str());
    ::mkdir((folder / "folder.cue.bak").c_str(), 0755);
    ::mkfifo((folder / "fifo.cue.bak").c_str(), 0644);
    const std::pair<std::string, std::string> refused[] = {
        {"link.cue.bak", SystemErrorText(EEXIST)},
        {"dangling.cue.bak", SystemErrorText(EEXIST)},
        {"folder.cue.bak", SystemErrorText(EISDIR)},
        {"fifo.cue.bak", SystemErrorText(EEXIST)},
    };
    for (const auto& [name, systemText] : refused) {
        try {
            WriteBackupFile(folder / name, "new", folder / "album.cue");
            ADD_FAILURE() << name << " was written";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Impossible de créer le fichier \"" + (folder / name) + "\". " + systemText);
        }
    }
    EXPECT_EQ(ReadFile(folder / "target"), "keep");
    EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.cue.bak"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "fifo.cue.bak"));
}

TEST(WriteBackupFile, TakesTheSheetsModeAndReplacesAnOldBackup) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "sheet");
    WriteFile(folder / "album.cue.bak", "older backup");
    ::chmod((folder / "album.cue").c_str(), 0640);
    ::chmod((folder / "album.cue.bak").c_str(), 0644);
    WriteBackupFile(folder / "album.cue.bak", "sheet\n", folder / "album.cue");
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), "sheet\n");
    EXPECT_EQ(StatOf(folder / "album.cue.bak").st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"album.cue", "album.cue.bak"}));
}

TEST(TemporaryFiles, OnlyOurOwnStaleOnesAreSweptAway) {
    TempFolder folder;
    const std::string stale = ".album.cue.0123456789abcdef.tmp";
    const std::string kept[] = {
        "album.cue.0123456789abcdef.tmp",    // not hidden
        ".album.cue.0123456789ABCDEF.tmp",   // not our digits
        ".album.cue.0123456789abcde.tmp",    // too short
        ".album.cue.0123456789abcdef.tmp.x", // something else
    };
    for (const std::string& name : kept) {
        WriteFile(folder / name, "theirs");
    }
    WriteFile(folder / stale, "half a sheet");
    WriteFile(folder / ".fresh.cue.fedcba9876543210.tmp", "being written");
    // Older than this process: left by an earlier one that was killed.
    const timespec old[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, (folder / stale).c_str(), old, 0);
    for (const std::string& name : kept) {
        ::utimensat(AT_FDCWD, (folder / name).c_str(), old, 0);
    }
    WriteFileAtomically(folder / "album.cue", "sheet");
    std::vector<std::string> expected(std::begin(kept), std::end(kept));
    expected.push_back(".fresh.cue.fedcba9876543210.tmp");
    expected.push_back("album.cue");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder.Path()), expected);
}

} // namespace
} // namespace velmora
