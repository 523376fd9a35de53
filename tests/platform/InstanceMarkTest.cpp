#include "platform/InstanceMark.h"

#include "platform/RuntimeFolder.h"

#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

TEST(InstanceMarkTest, OnlyOneHolderAtATime) {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    auto first = InstanceMark::Acquire(path);
    ASSERT_TRUE(first);
    EXPECT_FALSE(InstanceMark::Acquire(path));
    first.reset();
    EXPECT_TRUE(InstanceMark::Acquire(path));
}

TEST(InstanceMarkTest, AKilledHolderLeavesNoMark) {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto mark = InstanceMark::Acquire(path);
        const char answer = mark ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    EXPECT_FALSE(InstanceMark::Acquire(path));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(InstanceMark::Acquire(path));
}

enum class Found { Nothing, OpenFolder, File, Link };

struct FolderCase {
    const char* name;
    Found found;
    bool accepted;
};

void Make(Found found, const std::string& path, const std::string& elsewhere) {
    switch (found) {
    case Found::Nothing:
        break;
    case Found::OpenFolder:
        ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
        break;
    case Found::File:
        ASSERT_EQ(close(open(path.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
        break;
    case Found::Link:
        ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
        ASSERT_EQ(symlink(elsewhere.c_str(), path.c_str()), 0);
        break;
    }
}

TEST(RuntimeFolderTest, OnlyAPrivateFolderOfOurOwnIsAccepted) {
    const FolderCase cases[] = {
        {"missing: created", Found::Nothing, true},
        {"open to others", Found::OpenFolder, false},
        {"a file", Found::File, false},
        {"a link to a private folder", Found::Link, false},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        const std::string path = root.filePath("velmora").toStdString();
        const std::string elsewhere = root.filePath("elsewhere").toStdString();
        Make(c.found, path, elsewhere);
        if (!c.accepted) {
            EXPECT_THROW(EnsurePrivateFolder(path), std::runtime_error);
            continue;
        }
        EXPECT_NO_THROW(EnsurePrivateFolder(path));
        struct stat info {};
        ASSERT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
}

TEST(RuntimeFolderTest, LivesInTheUsersRuntimeFolder) {
    QTemporaryDir runtime;
    const std::string previous = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    const std::string folder = RuntimeFolder();
    if (previous.empty()) {
        unsetenv("XDG_RUNTIME_DIR");
    } else {
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    }
    EXPECT_EQ(folder, runtime.path().toStdString() + "/velmora");
}

} // namespace
} // namespace velmora
