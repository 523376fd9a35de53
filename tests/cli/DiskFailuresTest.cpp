// velmora-fix on a disk that refuses one system call in turn: exit status 0 and CORRECTED mean the new
// sheet is on disk; any sheet whose write is not known to be there says ERROR, and each sheet and backup
// is wholly old or wholly new.
#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::FolderEntries;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string& kOld = kSheetToRewrite;
const std::string& kNew = kSheetRewritten;

// Built by appending: the optimiser misreads a chain of + on short strings as overlapping copies.
std::string SheetName(int i) {
    std::string name = "s";
    name += std::to_string(i);
    name += ".cue";
    return name;
}

TEST(DiskFailures, NoSheetIsReportedWrittenThatIsNotKnownToBeOnDisk) {
    const struct {
        const char* call;
        // Whether a single sheet, then a batch, uses the call: its failure must then show.
        bool single;
        bool batch;
    } calls[] = {
        {"fsync-folder", true, true},
        {"fsync", true, true},
        {"syncfs", false, true},
        {"close", true, true},
        {"rename", true, true},
        {"fdatasync", false, false},
        // A backup that cannot be linked is copied instead.
        {"link", false, false},
    };
    for (const auto& c : calls) {
        for (const int sheets : {1, 3}) {
            SCOPED_TRACE(std::string(c.call) + (sheets == 1 ? ", one sheet" : ", a batch"));
            TempFolder folder;
            WriteFile(folder / "a.wav", "");
            std::string arguments;
            for (int i = 0; i < sheets; ++i) {
                WriteFile(folder / SheetName(i), kOld);
                arguments += ' ';
                arguments += SheetName(i);
            }
            const Finished finished =
                RunVelmoraFix(folder.Path(), arguments,
                              std::string("env VELMORA_FAILING_CALL=") + c.call + " " + kShimPrefix);
            const bool mustFail = sheets == 1 ? c.single : c.batch;
            EXPECT_EQ(finished.status, mustFail ? 2 : 0) << finished.out << finished.err;
            for (int i = 0; i < sheets; ++i) {
                const std::string name = SheetName(i);
                const bool corrected = finished.out.find(name + " => CORRECTED\n") != std::string::npos;
                EXPECT_NE(corrected, mustFail) << finished.out;
                EXPECT_NE(finished.out.find(name + (corrected ? " => CORRECTED\n" : " => ERROR\n")),
                          std::string::npos)
                    << finished.out;
                const std::string now = ReadFile(folder / name);
                EXPECT_TRUE(now == kOld || (now == kNew && fs::exists(folder / (name + ".bak")))) << name;
                if (corrected) {
                    EXPECT_EQ(now, kNew) << name;
                }
                if (fs::exists(folder / (name + ".bak"))) {
                    EXPECT_EQ(ReadFile(folder / (name + ".bak")), kOld) << name;
                }
            }
            for (const std::string& entry : FolderEntries(folder.Path())) {
                EXPECT_EQ(entry.find(".tmp"), std::string::npos) << entry;
            }
        }
    }
}

} // namespace
} // namespace velmora::fix
