#include "FixRun.h"

#include "../cue/TestSupport.h"
#include "SheetPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace velmora::fix {
namespace {

using velmora::testing::FolderEntries;
using velmora::testing::ReadFile;
using velmora::testing::TempFolder;
using velmora::testing::WriteFile;

const std::string AudioSheet = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                               "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
const std::string ImageSheet =
    "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n";

struct Printed {
    int status;
    std::string out;
    std::string err;
};

Printed Fix(const FixOptions& options, bool terminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunFix(options, out, err, terminal);
    return {status, out.str(), err.str()};
}

FixOptions Paths(std::vector<std::string> paths) {
    FixOptions options;
    options.Paths = std::move(paths);
    return options;
}

class FixRunTest : public ::testing::Test {
protected:
    TempFolder folder;
    TempFolder elsewhere;
};

TEST_F(FixRunTest, EachOutcomeGivesItsLinesAndStatus) {
    WriteFile(folder / "good.cue", AudioSheet);
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "fixed.cue", AudioSheet + "    INDEX 01 1:2:3\r\n");
    WriteFile(folder / "bad.cue",
              "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"gone.wav\" WAVE\r\nTRACK 01 AUDIO\r\n");
    WriteFile(folder / "disc.cue", ImageSheet);
    WriteFile(folder / "plain.cue", "nothing here\r\n");
    WriteFile(folder / "broken.cue", AudioSheet + "    INDEX 01 aa:00:00\r\n");
    WriteFile(folder / "album.CUE", AudioSheet);
    const std::string missing = folder / "missing.cue";
    const struct {
        std::string name;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"good.cue", AllFine, "good.cue => GOOD\n", ""},
        {"fixed.cue", AllFine, "fixed.cue => CORRECTED\n", ""},
        {"bad.cue", SomeBad, "bad.cue => BAD\n", ""},
        {"disc.cue", AllFine, "", ""},
        {"plain.cue", AllFine, "", ""},
        {"album.CUE", SomeBad, "", "album.CUE is not a valid CUE\n"},
        {"broken.cue", SomeFailed, "", "'aa' n'est pas une valeur entière correcte.\n"},
        {"missing.cue", SomeFailed, "",
         "Impossible d'ouvrir le fichier \"" + missing + "\". No such file or directory.\n"},
    };
    for (const auto& c : cases) {
        const Printed printed = Fix(Paths({folder / c.name}));
        EXPECT_EQ(printed.status, c.status) << c.name;
        EXPECT_EQ(printed.out, c.out) << c.name;
        EXPECT_EQ(printed.err, c.err) << c.name;
    }
}

TEST_F(FixRunTest, JsonNamesEveryOutcome) {
    WriteFile(folder / "good.cue", AudioSheet);
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "disc.cue", ImageSheet);
    WriteFile(folder / "plain.cue", "nothing here\r\n");
    WriteFile(folder / "x.txt", "");
    FixOptions options =
        Paths({folder / "good.cue", folder / "disc.cue", folder / "plain.cue", folder / "x.txt"});
    options.Json = true;
    const Printed printed = Fix(options);
    EXPECT_EQ(printed.status, SomeBad);
    EXPECT_EQ(printed.out,
              "{\"sheet\": \"" + (folder / "good.cue") +
                  "\", \"row\": \"good.cue => GOOD\", \"outcome\": \"GOOD\", \"message\": null}\n"
                  "{\"sheet\": \"" +
                  (folder / "disc.cue") +
                  "\", \"row\": null, \"outcome\": \"CANCELLED\", \"message\": null}\n"
                  "{\"sheet\": \"" +
                  (folder / "plain.cue") +
                  "\", \"row\": null, \"outcome\": \"SKIPPED\", \"message\": null}\n"
                  "{\"sheet\": \"" +
                  (folder / "x.txt") +
                  "\", \"row\": null, \"outcome\": \"WARNING\", \"message\": \"x.txt is not a valid "
                  "CUE\"}\n");
    EXPECT_EQ(printed.err, "x.txt is not a valid CUE\n");
}

TEST_F(FixRunTest, AnswersTheChooserOfEachKindFromItsOption) {
    WriteFile(folder / "disc.cue", ImageSheet);
    WriteFile(folder / "song.cue",
              "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"gone.wav\" WAVE\r\nTRACK 01 AUDIO\r\n");
    WriteFile(elsewhere / "image.bin", "image");
    WriteFile(elsewhere / "new.mp3", "audio");
    FixOptions options = Paths({folder / "disc.cue", folder / "song.cue"});
    options.BinAnswer = elsewhere / "image.bin";
    options.AudioAnswer = elsewhere / "new.mp3";
    const Printed printed = Fix(options);
    EXPECT_EQ(printed.status, AllFine);
    EXPECT_EQ(printed.out, "disc.cue => CORRECTED\nsong.cue => CORRECTED\n");
    EXPECT_EQ(ReadFile(folder / "disc.bin"), "image");
    EXPECT_EQ(ReadFile(folder / "song.cue"),
              "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"new.mp3\" MP3\r\nTRACK 01 AUDIO\r\n");
    EXPECT_EQ(ReadFile(elsewhere / "new.mp3"), "audio");
}

TEST_F(FixRunTest, AnErrorEndsOnlyItsOwnSheetAndKeepsItsRow) {
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "first.cue", AudioSheet);
    ::mkdir((folder / "dir.cue").c_str(), 0755);
    WriteFile(folder / "last.cue", AudioSheet);
    FixOptions options = Paths({folder / "first.cue", folder / "dir.cue", folder / "last.cue"});
    options.Json = true;
    const Printed printed = Fix(options);
    EXPECT_EQ(printed.status, SomeFailed);
    EXPECT_NE(printed.out.find("\"outcome\": \"ERROR\", \"message\": \"Impossible d'ouvrir le fichier \\\"" +
                               (folder / "dir.cue") + "\\\". Is a directory.\"}\n"),
              std::string::npos)
        << printed.out;
    EXPECT_NE(printed.out.find("\"row\": \"last.cue => GOOD\""), std::string::npos) << printed.out;
}

TEST_F(FixRunTest, RecursiveFoldersStandForTheirSheetsSortedByPath) {
    ::mkdir((folder / "b").c_str(), 0755);
    ::mkdir((folder / "a").c_str(), 0755);
    ::mkdir((folder / "a/deeper").c_str(), 0755);
    for (const char* name : {"b/1.cue", "a/2.cue", "a/deeper/0.cue", "z.cue", "a/upper.CUE", "a/not.cue.bak"})
        WriteFile(folder / name, "");
    ::mkdir((folder / "folder.cue").c_str(), 0755);

    const SheetPaths recursive = ExpandPaths({folder.Path(), folder / "a/upper.CUE"}, true);
    EXPECT_EQ(recursive.Sheets,
              (std::vector<std::string>{folder / "a/2.cue", folder / "a/deeper/0.cue", folder / "b/1.cue",
                                        folder / "z.cue", folder / "a/upper.CUE"}));
    EXPECT_TRUE(recursive.Problems.empty());

    const SheetPaths flat = ExpandPaths({folder / "b", "relative.cue"}, false);
    EXPECT_EQ(flat.Sheets, (std::vector<std::string>{folder / "b", std::filesystem::current_path().string() +
                                                                       "/relative.cue"}));

    const Printed printed = Fix(Paths({folder / "b"}));
    EXPECT_EQ(printed.status, SomeBad);
    EXPECT_EQ(printed.err, "b is not a valid CUE\n");
}

TEST_F(FixRunTest, ProgressShowsOnlyOnATerminalForSeveralSheets) {
    WriteFile(folder / "a.cue", "x");
    WriteFile(folder / "b.cue", "x");
    const struct {
        std::vector<std::string> paths;
        bool terminal;
        bool quiet;
        bool shown;
    } cases[] = {
        {{folder / "a.cue", folder / "b.cue"}, true, false, true},
        {{folder / "a.cue", folder / "b.cue"}, false, false, false},
        {{folder / "a.cue", folder / "b.cue"}, true, true, false},
        {{folder / "a.cue"}, true, false, false},
    };
    for (const auto& c : cases) {
        FixOptions options = Paths(c.paths);
        options.Quiet = c.quiet;
        const Printed printed = Fix(options, c.terminal);
        EXPECT_EQ(printed.err.find("[2/2] " + (folder / "b.cue")) != std::string::npos, c.shown);
        EXPECT_EQ(printed.err.empty(), !c.shown);
    }
}

} // namespace
} // namespace velmora::fix
