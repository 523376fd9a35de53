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

} // namespace
} // namespace velmora
