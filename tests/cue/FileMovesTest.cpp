#include "TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::HandToUnprivilegedUser;
using testing::ReadFile;
using testing::RunUnprivileged;
using testing::TempFolder;
using testing::WriteFile;

dev_t DeviceOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_dev;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A source folder on /dev/shm and a target folder in the build tree: two file systems.
class CrossDeviceMove : public ::testing::Test {
protected:
    void SetUp() override {
        if (DeviceOf(source.Path()) == DeviceOf(target.Path()))
            GTEST_SKIP() << "/dev/shm and the build folder share a file system here";
    }
    TempFolder source{"/dev/shm"};
    TempFolder target{VELMORA_BUILD_FOLDER};
};

TEST(MoveFileNoReplace, RenamesWithinAFileSystem) {
    TempFolder folder;
    ::mkdir((folder / "sub").c_str(), 0755);
    WriteFile(folder / "a.bin", "image");
    EXPECT_FALSE(MoveFileNoReplace(folder / "a.bin", folder / "sub/b.bin"));
    EXPECT_FALSE(Exists(folder / "a.bin"));
    EXPECT_EQ(ReadFile(folder / "sub/b.bin"), "image");
}

TEST(MoveFileNoReplace, RefusesWhatItCannotDoAndTouchesNothing) {
    TempFolder folder;
    WriteFile(folder / "a.bin", "image");
    WriteFile(folder / "b.bin", "other");
    struct Case {
        std::string from, to;
        int error;
    };
    const Case cases[] = {
        {folder / "a.bin", folder / "b.bin", EEXIST},
        {folder / "a.bin", folder / "a.bin", EEXIST},
        {folder / "a.bin", folder.Path(), EEXIST},
        {folder / "missing.bin", folder / "c.bin", ENOENT},
        {folder / "a.bin", folder / "no/such/folder.bin", ENOENT},
        {folder / "a.bin", "", ENOENT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveFileNoReplace(c.from, c.to).value(), c.error) << c.from << " -> " << c.to;
        EXPECT_EQ(ReadFile(folder / "a.bin"), "image");
        EXPECT_EQ(ReadFile(folder / "b.bin"), "other");
    }
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"a.bin", "b.bin"}));
}

TEST_F(CrossDeviceMove, CopiesThenRemovesTheSource) {
    WriteFile(source / "a.bin", std::string(200000, 'x'));
    ::chmod((source / "a.bin").c_str(), 0604);
    const timespec times[2] = {{1000000, 0}, {2000000, 0}};
    ::utimensat(AT_FDCWD, (source / "a.bin").c_str(), times, 0);

    EXPECT_FALSE(MoveFileNoReplace(source / "a.bin", target / "b.bin"));
    EXPECT_FALSE(Exists(source / "a.bin"));
    EXPECT_EQ(ReadFile(target / "b.bin"), std::string(200000, 'x'));
    EXPECT_EQ(ModeOf(target / "b.bin"), 0604u);
    struct stat info {};
    ::stat((target / "b.bin").c_str(), &info);
    EXPECT_EQ(info.st_mtim.tv_sec, 2000000);
    EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::string>{"b.bin"});
}

TEST_F(CrossDeviceMove, NeverReplacesAndLeavesNoPartialFile) {
    WriteFile(source / "a.bin", "image");
    WriteFile(target / "b.bin", "other");
    ::mkdir((source / "folder").c_str(), 0755);
    struct Case {
        std::string from, to;
        int error;
    };
    const Case cases[] = {
        {source / "a.bin", target / "b.bin", EEXIST},
        {source / "a.bin", target / "missing/b.bin", ENOENT},
        {source / "folder", target / "folder", EISDIR},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveFileNoReplace(c.from, c.to).value(), c.error) << c.from << " -> " << c.to;
        EXPECT_EQ(ReadFile(source / "a.bin"), "image");
        EXPECT_EQ(ReadFile(target / "b.bin"), "other");
        EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::string>{"b.bin"});
    }
}

TEST_F(CrossDeviceMove, ASourceThatCannotBeRemovedIsNotCopied) {
    WriteFile(source / "a.bin", "image");
    HandToUnprivilegedUser(source.Path());
    HandToUnprivilegedUser(target.Path());
    ::chmod(source.Path().c_str(), 0555);
    const std::string result = RunUnprivileged(
        [&] { return std::to_string(MoveFileNoReplace(source / "a.bin", target / "b.bin").value()); });
    EXPECT_EQ(result, std::to_string(EACCES));
    EXPECT_EQ(ReadFile(source / "a.bin"), "image");
    EXPECT_TRUE(FolderEntries(target.Path()).empty());
}

TEST_F(CrossDeviceMove, AnUnwritableTargetFolderGetsNothing) {
    WriteFile(source / "a.bin", "image");
    HandToUnprivilegedUser(source.Path());
    HandToUnprivilegedUser(source / "a.bin");
    ::chmod(target.Path().c_str(), 0555);
    const std::string result = RunUnprivileged(
        [&] { return std::to_string(MoveFileNoReplace(source / "a.bin", target / "b.bin").value()); });
    EXPECT_EQ(result, std::to_string(EACCES));
    EXPECT_EQ(ReadFile(source / "a.bin"), "image");
    EXPECT_TRUE(FolderEntries(target.Path()).empty());
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
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(RegularFileExists(path), exists) << path;
}

TEST(WriteFileAtomically, ReplacesTheContentAndKeepsTheMode) {
    TempFolder folder;
    WriteFile(folder / "s.cue", "old content that is longer");
    ::chmod((folder / "s.cue").c_str(), 0640);
    WriteFileAtomically(folder / "s.cue", "new");
    EXPECT_EQ(ReadFile(folder / "s.cue"), "new");
    EXPECT_EQ(ModeOf(folder / "s.cue"), 0640u);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"s.cue"});
}

TEST(WriteFileAtomically, ANewFileGetsTheUsualMode) {
    TempFolder folder;
    const mode_t mask = ::umask(022);
    WriteFileAtomically(folder / "new.cue", "x");
    ::umask(mask);
    EXPECT_EQ(ReadFile(folder / "new.cue"), "x");
    EXPECT_EQ(ModeOf(folder / "new.cue"), 0644u);
}

TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
    TempFolder folder;
    WriteFile(folder / "real.cue", "old");
    ::symlink("real.cue", (folder / "link.cue").c_str());
    WriteFileAtomically(folder / "link.cue", "new");
    struct stat info {};
    ::lstat((folder / "link.cue").c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(folder / "real.cue"), "new");
}

TEST(WriteFileAtomically, RefusesReadOnlyFilesFoldersAndFolderTargets) {
    TempFolder folder;
    ::mkdir((folder / "ro").c_str(), 0755);
    ::mkdir((folder / "dir.cue").c_str(), 0755);
    WriteFile(folder / "readonly.cue", "keep");
    WriteFile(folder / "ro/in-readonly-folder.cue", "keep");
    for (const char* path : {"", "ro", "readonly.cue", "dir.cue", "ro/in-readonly-folder.cue"})
        HandToUnprivilegedUser(folder / path);
    ::chmod((folder / "readonly.cue").c_str(), 0444);
    ::chmod((folder / "ro").c_str(), 0555);

    const std::pair<std::string, std::string> cases[] = {
        {folder / "readonly.cue", "Permission denied"},
        {folder / "ro/in-readonly-folder.cue", "Permission denied"},
        {folder / "ro/new.cue", "Permission denied"},
        {folder / "dir.cue", "Is a directory"},
        {folder / "missing/new.cue", "No such file or directory"},
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
    EXPECT_EQ(ReadFile(folder / "ro/in-readonly-folder.cue"), "keep");
    EXPECT_EQ(FolderEntries(folder / "ro"), std::vector<std::string>{"in-readonly-folder.cue"});
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"dir.cue", "readonly.cue", "ro"}));
}

} // namespace
} // namespace velmora
