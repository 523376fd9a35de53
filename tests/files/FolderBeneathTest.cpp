#include "files/FolderBeneath.h"

#include "files/testing/ScratchFiles.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::TempFolder;
using testkit::WriteFile;

// Every answer the kernel gives, the walk gives too.
TEST(FolderBeneath, KernelAndWalkRefuseTheSameNames) {
    TempFolder folder;
    TempFolder elsewhere;
    ::mkdir((folder / "sub").c_str(), 0755);
    WriteFile(folder / "sub/file", "");
    WriteFile(folder / "file", "");
    ::symlink(elsewhere.Path().c_str(), (folder / "out").c_str());
    ::symlink("sub", (folder / "in").c_str());
    ::symlink((elsewhere / "rc").c_str(), (folder / "x.cue").c_str());
    const struct {
        const char* name;
        int refusal;
    } cases[] = {
        {"file", 0},
        {"new", 0},
        {"sub/file", 0},
        {"sub/new", 0},
        {"./file", 0},
        {"../file", EXDEV},
        {"sub/../../file", EXDEV},
        {"/etc/passwd", EXDEV},
        {"", EXDEV},
        {"sub//file", EXDEV},
        {"out/new", ELOOP},
        {"in/file", ELOOP},
        {"x.cue", ELOOP},
        {"missing/new", ENOENT},
        {"file/new", ENOTDIR},
    };
    for (const BeneathCheck check : {BeneathCheck::Kernel, BeneathCheck::ComponentWalk}) {
        UseBeneathCheck(check);
        for (const auto& c : cases) {
            EXPECT_EQ(RefusalBeneath(folder.Path(), c.name), c.refusal)
                << c.name << (check == BeneathCheck::Kernel ? " (kernel)" : " (walk)");
        }
    }
    UseBeneathCheck(BeneathCheck::Kernel);
}

// Moves and removals answer as RefusalBeneath does for every name, with the kernel and with the walk,
// and change nothing outside the folder.
TEST(FolderBeneath, MovesAndRemovalsStayBeneathTheFolder) {
    const struct {
        const char* from;
        const char* to;
        int error;
    } moves[] = {
        {"file", "moved", 0},
        {"sub/file", "sub/moved", 0},
        {"file", "sub/moved", 0},
        {"file", "out/stolen", ELOOP},
        {"out/rc", "mine", ELOOP},
        {"file", "../stolen", EXDEV},
        {"file", "in/moved", ELOOP},
        {"x.cue", "moved", ELOOP},
        {"link", "moved", ELOOP},
        {"sub", "moved", EISDIR},
        {"file", "taken", EEXIST},
        {"missing", "moved", ENOENT},
        {"file", "missing/moved", ENOENT},
    };
    const struct {
        const char* name;
        int error;
        bool thereAfter;
    } removals[] = {
        {"file", 0, false},      {"link", ELOOP, true},      {"out/rc", ELOOP, true},
        {"../rc", EXDEV, false}, {"missing", ENOENT, false},
    };
    for (const BeneathCheck check : {BeneathCheck::Kernel, BeneathCheck::ComponentWalk}) {
        UseBeneathCheck(check);
        const char* how = check == BeneathCheck::Kernel ? " (kernel)" : " (walk)";
        const auto arrange = [](const TempFolder& folder, const TempFolder& elsewhere) {
            ::mkdir((folder / "sub").c_str(), 0755);
            WriteFile(folder / "sub/file", "below");
            WriteFile(folder / "file", "mine");
            WriteFile(folder / "taken", "taken");
            WriteFile(elsewhere / "rc", "theirs");
            ::symlink(elsewhere.Path().c_str(), (folder / "out").c_str());
            ::symlink("sub", (folder / "in").c_str());
            ::symlink((elsewhere / "rc").c_str(), (folder / "x.cue").c_str());
            ::symlink("file", (folder / "link").c_str());
        };
        for (const auto& m : moves) {
            const TempFolder folder;
            const TempFolder elsewhere;
            arrange(folder, elsewhere);
            EXPECT_EQ(MoveBeneath(folder.Path(), m.from, m.to).value(), m.error) << m.from << how;
            if (m.error == 0) {
                EXPECT_FALSE(::access((folder / m.from).c_str(), F_OK) == 0) << m.from << how;
                EXPECT_EQ(::access((folder / m.to).c_str(), F_OK), 0) << m.to << how;
            }
            EXPECT_EQ(testkit::FolderEntries(elsewhere.Path()), std::vector<std::string>{"rc"}) << how;
            EXPECT_EQ(testkit::ReadFile(elsewhere / "rc"), "theirs") << how;
            EXPECT_EQ(testkit::ReadFile(folder / "taken"), "taken") << how;
        }
        for (const auto& r : removals) {
            const TempFolder folder;
            const TempFolder elsewhere;
            arrange(folder, elsewhere);
            EXPECT_EQ(RemoveBeneath(folder.Path(), r.name).value(), r.error) << r.name << how;
            struct stat info {};
            if (std::string(r.name).find("..") == std::string::npos) {
                EXPECT_EQ(::lstat((folder / r.name).c_str(), &info) == 0, r.thereAfter) << r.name << how;
            }
            EXPECT_EQ(testkit::ReadFile(elsewhere / "rc"), "theirs") << how;
            if (std::string(r.name) != "file") {
                EXPECT_EQ(testkit::ReadFile(folder / "file"), "mine") << how;
            }
        }
    }
    UseBeneathCheck(BeneathCheck::Kernel);
}

} // namespace
} // namespace velmora
