// The outcomes of velmora-fix's repair run, one sheet each, the same on every build.
#include "../cue/TestSupport.h"
#include "cli/FixRun.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace velmora::fix {
namespace {

using velmora::testkit::kWindowsFileNames;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string kAudioSheet = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                                "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
// A path as a JSON string holds it: a Windows "\\" escaped.
std::string JsonEscaped(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        escaped += c == '\\' ? "\\\\" : std::string(1, c);
    }
    return escaped;
}

const std::string kImageSheet =
    "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n";

TEST(FixOutcomes, EachOutcomeGivesItsLinesAndStatus) {
    TempFolder folder;
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "good.cue", kAudioSheet);
    WriteFile(folder / "fixed.cue", kAudioSheet + "    INDEX 01 1:2:3\r\n");
    WriteFile(folder / "bad.cue",
              "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"gone.wav\" WAVE\r\nTRACK 01 AUDIO\r\n");
    WriteFile(folder / "disc.cue", kImageSheet);
    WriteFile(folder / "plain.cue", "nothing here\r\n");
    WriteFile(folder / "broken.cue", kAudioSheet + "    INDEX 01 aa:00:00\r\n");
    // Every sheet gives one line; why it is bad, warnings and errors go to standard error, naming the
    // sheet and the line at fault. An image left missing is as bad as an audio file left missing.
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        {"good.cue", AllFine, "GOOD", ""},
        {"fixed.cue", AllFine, "CORRECTED", ""},
        {"bad.cue", SomeBad, "BAD", ": \"gone.wav\" à la ligne 3 manque toujours."},
        {"disc.cue", SomeBad, "BAD", ": \"disc.bin\" à la ligne 1 manque toujours."},
        {"plain.cue", AllFine, "SKIPPED", ""},
        {"album.CUE", SomeBad, "WARNING", "album.CUE n'est pas un CUE valide"},
        {"broken.cue", SomeFailed, "ERROR", ":6: 'aa' n'est pas une valeur entière correcte."},
        {"gone.cue", SomeFailed, "ERROR",
         ": Impossible d'ouvrir le fichier \"" + (folder / "gone.cue") + "\". " + SystemErrorText(ENOENT) +
             "."},
    };
    for (const auto& [name, status, outcome, err] : cases) {
        SCOPED_TRACE(name);
        FixOptions options;
        options.Paths = {folder / name};
        std::ostringstream printedOut, printedErr;
        EXPECT_EQ(RunFix(options, printedOut, printedErr, false), status) << name;
        EXPECT_EQ(printedOut.str(), folder / name + " => " + outcome + "\n") << name;
        const std::string sheet = err.empty() || err[0] != ':' ? "" : folder / name;
        EXPECT_EQ(printedErr.str(), err.empty() ? "" : "velmora-fix: " + sheet + err + "\n") << name;
    }
}

TEST(FixOutcomes, JsonNamesEveryOutcomeAndAnErrorEndsOnlyItsSheet) {
    TempFolder folder;
    const auto json = [&](const std::string& name) {
        return JsonEscaped(folder / name);
    };
    WriteFile(folder / "a.wav", "");
    WriteFile(folder / "good.cue", kAudioSheet);
    WriteFile(folder / "disc.cue", kImageSheet);
    WriteFile(folder / "plain.cue", "nothing here\r\n");
    std::filesystem::create_directory(PathFromUtf8(folder / "dir.cue"));
    FixOptions options;
    options.Json = true;
    options.Paths = {folder / "good.cue", folder / "disc.cue", folder / "plain.cue",
                     folder / "x.txt",    folder / "dir.cue",  folder / "good.cue"};
    std::ostringstream printedOut, printedErr;
    EXPECT_EQ(RunFix(options, printedOut, printedErr, false), SomeFailed);
    const std::string none = "{\"encoding\": \"UTF-8\", \"repaired\": [], \"missing\": [], \"times\": "
                             "{\"count\": 0, \"lines\": []}, \"misfits\": []}";
    const std::string good = "{\"sheet\": \"" + json("good.cue") +
                             "\", \"row\": \"good.cue => GOOD\", \"outcome\": \"GOOD\", \"message\": null, "
                             "\"reasons\": " +
                             none + "}\n";
    EXPECT_EQ(printedOut.str(),
              good + "{\"sheet\": \"" + json("disc.cue") +
                  "\", \"row\": null, \"outcome\": \"BAD\", \"message\": \"\\\"disc.bin\\\" à la ligne 1 "
                  "manque toujours.\", \"reasons\": "
                  "{\"encoding\": \"UTF-8\", \"repaired\": [], \"missing\": [{\"line\": 1, \"name\": "
                  "\"disc.bin\", \"unwritable\": false, \"reason\": null}], \"times\": {\"count\": 0, "
                  "\"lines\": []}, \"misfits\": []}}\n"
                  "{\"sheet\": \"" +
                  json("plain.cue") +
                  "\", \"row\": null, \"outcome\": \"SKIPPED\", \"message\": null, \"reasons\": null}\n"
                  "{\"sheet\": \"" +
                  json("x.txt") +
                  "\", \"row\": null, \"outcome\": \"WARNING\", \"message\": \"x.txt n'est pas un CUE "
                  "valide\", \"reasons\": null}\n{\"sheet\": \"" +
                  json("dir.cue") +
                  "\", \"row\": null, \"outcome\": \"ERROR\", \"message\": \"Impossible d'ouvrir le "
                  "fichier \\\"" +
                  json("dir.cue") + "\\\". " + SystemErrorText(EISDIR) + ".\", \"reasons\": null}\n" + good);
    EXPECT_EQ(printedErr.str(),
              "velmora-fix: " + (folder / "disc.cue") +
                  ": \"disc.bin\" à la ligne 1 manque toujours.\nvelmora-fix: x.txt n'est pas un CUE "
                  "valide\nvelmora-fix: " +
                  (folder / "dir.cue") + ": Impossible d'ouvrir le fichier \"" + (folder / "dir.cue") +
                  "\". " + SystemErrorText(EISDIR) + ".\n");
}

struct Printed {
    int status;
    std::string out, err;
};

Printed Fix(std::vector<std::string> paths, FixOptions options = {}) {
    options.Paths = std::move(paths);
    std::ostringstream out, err;
    const int status = RunFix(options, out, err, false);
    return {status, out.str(), err.str()};
}

class FixOutcomesTest : public ::testing::Test {
protected:
    // How a sheet in `folder` names a file in `elsewhere`.
    std::string FromFolderToElsewhere(const std::string& name) const {
        return "../" + Utf8FromPath(PathFromUtf8(elsewhere.Path()).parent_path().filename()) + "/" + name;
    }
    TempFolder folder;
    TempFolder elsewhere;
};

TEST_F(FixOutcomesTest, AnswersTheChooserOfEachKindFromItsOption) {
    WriteFile(folder / "disc.cue", kImageSheet);
    WriteFile(folder / "song.cue",
              "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"gone.wav\" WAVE\r\nTRACK 01 AUDIO\r\n");
    WriteFile(elsewhere / "image.bin", "image");
    WriteFile(elsewhere / "new.mp3", "audio");
    FixOptions options;
    options.BinAnswers = {elsewhere / "image.bin"};
    options.AudioAnswers = {elsewhere / "new.mp3"};
    const Printed printed = Fix({folder / "disc.cue", folder / "song.cue"}, options);
    EXPECT_EQ(printed.status, AllFine);
    EXPECT_EQ(printed.out, folder / "disc.cue => CORRECTED\n" + folder / "song.cue => CORRECTED\n");
    EXPECT_EQ(ReadFile(folder / "disc.bin"), "image");
    EXPECT_EQ(ReadFile(folder / "song.cue"), "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"" +
                                                 FromFolderToElsewhere("new.mp3") +
                                                 "\" MP3\r\nTRACK 01 AUDIO\r\n");
    EXPECT_EQ(ReadFile(elsewhere / "new.mp3"), "audio");
}

TEST_F(FixOutcomesTest, AutoTakesOnlyASingleCandidateOfTheBestRule) {
    const std::string sheet = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"album.wav\" WAVE\r\nTRACK 01 "
                              "AUDIO\r\nINDEX 01 00:00:00\r\n";
    WriteFile(elsewhere / "picked.mp3", "");
    struct Case {
        std::vector<std::string> present;
        bool autoOption;
        std::optional<std::string> answer;
        std::string row, fileLine;
    };
    const Case cases[] = {
        {{"album.flac"}, true, std::nullopt, "CORRECTED", "FILE \"album.flac\" WAVE"},
        {{"album.flac"}, false, std::nullopt, "BAD", "FILE \"album.wav\" WAVE"},
        // Two equally good: the chooser's answer decides, or its cancel.
        {{"album.flac", "album.ape"}, true, std::nullopt, "BAD", "FILE \"album.wav\" WAVE"},
        {{"album.flac", "album.ape"},
         true,
         elsewhere / "picked.mp3",
         "CORRECTED",
         "FILE \"" + FromFolderToElsewhere("picked.mp3") + "\" MP3"},
        // Case beats another extension; where names are found in any case (Windows), the sheet's own
        // name finds ALBUM.WAV and the sheet is good as it is.
        kWindowsFileNames
            ? Case{{"album.flac", "ALBUM.WAV"}, true, std::nullopt, "GOOD", "FILE \"album.wav\" WAVE"}
            : Case{{"album.flac", "ALBUM.WAV"}, true, std::nullopt, "CORRECTED", "FILE \"ALBUM.WAV\" WAVE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.present.back() + (c.autoOption ? " with --auto" : "") +
                     (c.answer ? ", answered" : ""));
        TempFolder sheetFolder;
        WriteFile(sheetFolder / "album.cue", sheet);
        for (const std::string& name : c.present) {
            WriteFile(sheetFolder / name, "");
        }
        FixOptions options;
        options.Auto = c.autoOption;
        if (c.answer) {
            options.AudioAnswers = {*c.answer};
        }
        EXPECT_EQ(Fix({sheetFolder / "album.cue"}, options).out,
                  sheetFolder / "album.cue => " + c.row + "\n");
        std::string expected = sheet;
        expected.replace(expected.find("FILE"), 21, c.fileLine);
        EXPECT_EQ(ReadFile(sheetFolder / "album.cue"), expected) << c.row;
    }
}

} // namespace
} // namespace velmora::fix
