// Layouts found in real sheets from other programs, each repaired by velmora-fix as a user runs it.
#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

using velmora::testkit::FolderEntries;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string kImageTrack = "  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
const std::string kTwoFiles = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"some file 1.mp3\" MP3\n  TRACK 01 AUDIO\n"
                              "    INDEX 01 00:00:00\nFILE \"some file 1.mp3\" MP3\n  TRACK 02 AUDIO\n"
                              "    INDEX 01 00:00:00\n";

TEST(RealSheets, AreRepairedWithoutLosingWhatIsRight) {
    struct Case {
        std::string what;
        std::string sheet;
        std::vector<std::string> files;
        std::string arguments;
        std::string out;
        std::string repaired;
        // The folder afterwards, the sheet and its backup left out.
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"a drive path to an image beside the sheet, answered with that image",
         "FILE \"C:\\Games\\game.bin\" BINARY\r\n" + kImageTrack,
         {"game.bin"},
         "--bin game.bin s.cue",
         "s.cue => CORRECTED\n",
         "FILE \"game.bin\" BINARY\r\n" + kImageTrack,
         {"game.bin"}},
        {"a path from a sibling folder to an image beside the sheet",
         "FILE \"../img/game.bin\" BINARY\r\n" + kImageTrack,
         {"game.bin"},
         "--auto s.cue",
         "s.cue => CORRECTED\n",
         "FILE \"game.bin\" BINARY\r\n" + kImageTrack,
         {"game.bin"}},
        {"one answer for a name missing on two lines",
         kTwoFiles,
         {"some file 1.flac"},
         "--audio \"some file 1.flac\" s.cue",
         "s.cue => CORRECTED\n",
         "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"some file 1.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 "
         "00:00:00\n"
         "FILE \"some file 1.flac\" WAVE\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n",
         {"some file 1.flac"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        WriteFile(folder / "s.cue", c.sheet);
        for (const std::string& file : c.files) {
            WriteFile(folder / file, file);
        }
        const Finished finished = RunVelmoraFix(folder.Path(), c.arguments);
        EXPECT_EQ(finished.out, c.out) << finished.err;
        EXPECT_EQ(ReadFile(folder / "s.cue"), c.repaired);
        std::vector<std::string> after = c.after;
        after.push_back("s.cue");
        // A sheet is backed up exactly when it changes, and its record keeps the digest of what it became.
        if (c.repaired != c.sheet) {
            after.push_back("s.cue.bak");
            if (std::find(after.begin(), after.end(), "s.cue.moves") == after.end()) {
                after.push_back("s.cue.moves");
            }
        }
        std::sort(after.begin(), after.end());
        EXPECT_EQ(FolderEntries(folder.Path()), after);
        for (const std::string& file : c.files) {
            EXPECT_EQ(ReadFile(folder / file), file);
        }
    }
}

} // namespace
} // namespace velmora::fix
