#include "cli/FixRun.h"

#include "../cue/TestSupport.h"
#include "../messages/ScopedLanguage.h"
#include "cli/SheetPaths.h"
#include "messages/Messages.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace velmora::fix {
namespace {

using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string kAudioSheet = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                                "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
const std::string kImageSheet =
    "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n";

struct Printed {
    int status;
    std::string out, err;
};

Printed Fix(std::vector<std::string> paths, FixOptions options = {}, bool terminal = false) {
    options.Paths = std::move(paths);
    std::ostringstream out, err;
    const int status = RunFix(options, out, err, terminal);
    return {status, out.str(), err.str()};
}

class FixRunTest : public ::testing::Test {
protected:
    TempFolder folder;
    TempFolder elsewhere;
};

TEST_F(FixRunTest, DryRunPrintsWhatTheRealRunDoesAndChangesNothing) {
    const std::string sheet = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"album.wav\" WAVE\nTRACK 01 AUDIO\n"
                              "INDEX 01 0:1:80\n";
    WriteFile(folder / "album.cue", sheet);
    WriteFile(folder / "album.flac", "");
    WriteFile(folder / "disc.cue", kImageSheet);
    // --auto takes an image only when it holds the sheet's track: one frame of 2,048 bytes here.
    WriteFile(folder / "Disc.BIN", std::string(2048, 'i'));
    FixOptions options;
    options.Auto = true;
    options.DryRun = true;
    const Printed printed = Fix({folder / "album.cue", folder / "disc.cue"}, options);
    const std::string path = folder / "album.cue";
    // The sheet keeps its own line breaks: only the lines the repair changes show.
    EXPECT_EQ(printed.out, "--- " + path + "\n+++ " + path +
                               "\n@@ -1,5 +1,5 @@\n PERFORMER \"p\"\n TITLE \"t\"\n"
                               "-FILE \"album.wav\" WAVE\n+FILE \"album.flac\" WAVE\n TRACK 01 AUDIO\n"
                               "-INDEX 01 0:1:80\n+INDEX 01 00:02:05\n" +
                               path + " => CORRECTED\nmove " + (folder / "Disc.BIN") + " -> " +
                               (folder / "disc.bin") + "\n" + (folder / "disc.cue") + " => CORRECTED\n");
    EXPECT_EQ(printed.status, AllFine);
    EXPECT_EQ(ReadFile(folder / "album.cue"), sheet);
    EXPECT_EQ(velmora::testkit::FolderEntries(folder.Path()),
              (std::vector<std::string>{"Disc.BIN", "album.cue", "album.flac", "disc.cue"}));
}

TEST_F(FixRunTest, DryRunMeetsTheRefusalsTheRealRunMeets) {
    // A backup path that is a link, and an answer that is a folder: the same outcome as for real.
    WriteFile(folder / "album.cue", "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                                    "TRACK 01 AUDIO\r\nINDEX 01 0:0:0\r\n");
    WriteFile(folder / "a.wav", "");
    ::symlink("../elsewhere", (folder / "album.cue.bak").c_str());
    WriteFile(folder / "disc.cue", kImageSheet);
    ::mkdir((elsewhere / "folder.bin").c_str(), 0755);
    for (const bool dry : {true, false}) {
        SCOPED_TRACE(dry ? "dry run" : "run");
        FixOptions options;
        options.DryRun = dry;
        options.BinAnswers = {elsewhere / "folder.bin"};
        const Printed printed = Fix({folder / "album.cue", folder / "disc.cue"}, options);
        EXPECT_EQ(printed.status, SomeFailed);
        EXPECT_EQ(printed.out, folder / "album.cue => ERROR\n" + folder / "disc.cue => BAD\n");
        EXPECT_EQ(printed.err,
                  "velmora-fix: " + (folder / "album.cue") + ": Impossible de créer le fichier \"" +
                      (folder / "album.cue.bak") + "\". " + SystemErrorText(EEXIST) + ".\nvelmora-fix: " +
                      (folder / "disc.cue") + ": \"disc.bin\" à la ligne 1 manque toujours : \"" +
                      (elsewhere / "folder.bin") + "\" n'est pas un fichier ordinaire.\n");
    }
}

TEST_F(FixRunTest, JsonReasonsNameTheRulesAndLines) {
    // "Кино.wav" in a Windows-1251 sheet; the file beside it is "кино.flac".
    WriteFile(folder / "kino.cue",
              "PERFORMER \"\xCA\xE8\xED\xEE\"\r\nTITLE \"\xC3\xF0\xF3\xEF\xEF\xE0\"\r\n"
              "FILE \"\xCA\xE8\xED\xEE.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 0:0:0\r\n"
              "  TRACK 02 AUDIO\r\n    INDEX 01 1:2:3\r\n");
    WriteFile(folder / "кино.flac", "");
    FixOptions options;
    options.Auto = true;
    options.Json = true;
    options.DryRun = true;
    const Printed printed = Fix({folder / "kino.cue"}, options);
    EXPECT_NE(
        printed.out.find("\"outcome\": \"CORRECTED\", \"message\": null, \"reasons\": {\"encoding\": "
                         "\"Windows-1251\", \"repaired\": [{\"line\": 3, \"from\": \"Кино.wav\", \"to\": "
                         "\"кино.flac\", \"rule\": \"other-extension\", \"moved\": false, "
                         "\"chosen_for_length\": null}], \"missing\": [], \"times\": {\"count\": 2, "
                         "\"lines\": [5, 7]}, \"misfits\": []}, \"diff\": \"--- "),
        std::string::npos)
        << printed.out;
    EXPECT_NE(printed.out.find("\\n-FILE \\\"Кино.wav\\\" WAVE\\r\\n+FILE \\\"кино.flac\\\" WAVE\\r\\n"),
              std::string::npos)
        << printed.out;
    EXPECT_NE(printed.out.find("\", \"moves\": []}\n"), std::string::npos) << printed.out;
}

TEST_F(FixRunTest, ANameTheSheetCannotHoldIsReportedAndNothingIsWritten) {
    const ScopedLanguage english(kEnglishMessages);
    // "Кино.wav" in a Windows-1251 sheet, answered with a Japanese name. The sheet is too short for the
    // detector to be sure of its encoding: the user says it.
    const std::string sheet =
        "PERFORMER \"\xCA\xE8\xED\xEE\"\r\nTITLE \"\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8\"\r\n"
        "FILE \"\xCA\xE8\xED\xEE.wav\" WAVE\r\n"
        "TRACK 01 AUDIO\r\n";
    WriteFile(folder / "kino.cue", sheet);
    WriteFile(elsewhere / "ラヴ.flac", "");
    FixOptions options;
    options.AudioAnswers = {elsewhere / "ラヴ.flac"};
    options.Encoding = SheetEncoding::Windows1251;
    const Printed printed = Fix({folder / "kino.cue"}, options);
    EXPECT_EQ(printed.status, SomeBad);
    EXPECT_EQ(printed.out, folder / "kino.cue => BAD\n");
    EXPECT_EQ(printed.err,
              "velmora-fix: " + (folder / "kino.cue") +
                  ": \"Кино.wav\" on line 3 is still missing: the chosen name cannot be written in "
                  "the sheet (Windows-1251).\n");
    EXPECT_EQ(ReadFile(folder / "kino.cue"), sheet);
}

TEST_F(FixRunTest, RecursiveFoldersStandForTheirSheetsSortedByPath) {
    for (const char* name : {"b", "a", "a/deeper", "folder.cue"}) {
        ::mkdir((folder / name).c_str(), 0755);
    }
    for (const char* name :
         {"b/1.cue", "a/2.cue", "a/deeper/0.cue", "z.cue", "a/upper.CUE", "a/not.cue.bak"}) {
        WriteFile(folder / name, "");
    }
    const SheetPaths recursive = ExpandPaths({folder.Path(), folder / "a/upper.CUE"}, true);
    EXPECT_EQ(recursive.Sheets,
              (std::vector<std::string>{folder / "a/2.cue", folder / "a/deeper/0.cue", folder / "b/1.cue",
                                        folder / "z.cue", folder / "a/upper.CUE"}));
    EXPECT_TRUE(recursive.Problems.empty());
    EXPECT_EQ(
        ExpandPaths({folder / "b", "relative.cue"}, false).Sheets,
        (std::vector<std::string>{folder / "b", std::filesystem::current_path().string() + "/relative.cue"}));
    const Printed folderRun = Fix({folder / "b"});
    EXPECT_EQ(folderRun.status, SomeBad);
    EXPECT_EQ(folderRun.err, "velmora-fix: b n'est pas un CUE valide\n");
}

TEST_F(FixRunTest, ProgressShowsOnlyOnATerminalForSeveralSheets) {
    WriteFile(folder / "a.cue", "x");
    WriteFile(folder / "b.cue", "x");
    const std::tuple<std::vector<std::string>, bool, bool, bool> cases[] = {
        // paths, terminal, quiet, shown
        {{folder / "a.cue", folder / "b.cue"}, true, false, true},
        {{folder / "a.cue", folder / "b.cue"}, false, false, false},
        {{folder / "a.cue", folder / "b.cue"}, true, true, false},
        {{folder / "a.cue"}, true, false, false},
    };
    for (const auto& [paths, terminal, quiet, shown] : cases) {
        SCOPED_TRACE(std::to_string(paths.size()) + " sheets" + (terminal ? ", on a terminal" : "") +
                     (quiet ? ", quiet" : ""));
        FixOptions options;
        options.Quiet = quiet;
        const Printed printed = Fix(paths, options, terminal);
        EXPECT_EQ(printed.err.find("[2/2] " + (folder / "b.cue")) != std::string::npos, shown);
        EXPECT_EQ(printed.err.empty(), !shown);
    }
}

} // namespace
} // namespace velmora::fix

namespace velmora::fix {
namespace {

TEST(FixRunMessages, AFailedMoveCarriesTheSystemsReason) {
    TempFolder folder;
    TempFolder elsewhere;
    // The sheet wants its image in a sub-folder that is not there.
    WriteFile(folder / "disc.cue",
              "FILE \"cd/disc.bin\" BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n");
    WriteFile(elsewhere / "a.bin", "image");
    FixOptions options;
    options.Json = true;
    options.Paths = {folder / "disc.cue"};
    options.BinAnswers = {elsewhere / "a.bin"};
    std::ostringstream out, err;
    EXPECT_EQ(RunFix(options, out, err, false), SomeBad);
    const std::string reason = "\\\"" + (elsewhere / "a.bin") + "\\\" n'a pas pu être déplacé vers \\\"" +
                               (folder / "cd/disc.bin") + "\\\" : " + SystemErrorText(ENOENT);
    EXPECT_NE(out.str().find(
                  "\"outcome\": \"BAD\", \"message\": \"\\\"cd/disc.bin\\\" à la ligne 1 manque toujours : " +
                  reason + ".\""),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("\"reason\": \"" + reason + "\""), std::string::npos) << out.str();
    EXPECT_EQ(ReadFile(elsewhere / "a.bin"), "image");
}

} // namespace
} // namespace velmora::fix
