// The outcomes of velmora-fix's repair run, one sheet each, the same on every build.
#include "../cue/TestSupport.h"
#include "cli/FixRun.h"
#include "files/PathNames.h"
#include "messages/Messages.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace velmora::fix {
namespace {

using velmora::testing::TempFolder;
using velmora::testing::WriteFile;

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
        {"bad.cue", SomeBad, "BAD", ": \"gone.wav\" on line 3 is still missing."},
        {"disc.cue", SomeBad, "BAD", ": \"disc.bin\" on line 1 is still missing."},
        {"plain.cue", AllFine, "SKIPPED", ""},
        {"album.CUE", SomeBad, "WARNING", "album.CUE is not a valid CUE"},
        {"broken.cue", SomeFailed, "ERROR", ":6: 'aa' n'est pas une valeur entière correcte."},
        {"gone.cue", SomeFailed, "ERROR",
         ": Impossible d'ouvrir le fichier \"" + (folder / "gone.cue") + "\". " + SystemErrorText(ENOENT) +
             "."},
    };
    for (const auto& [name, status, outcome, err] : cases) {
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
                  "\", \"row\": null, \"outcome\": \"BAD\", \"message\": \"\\\"disc.bin\\\" on line 1 is "
                  "still missing.\", \"reasons\": "
                  "{\"encoding\": \"UTF-8\", \"repaired\": [], \"missing\": [{\"line\": 1, \"name\": "
                  "\"disc.bin\", \"unwritable\": false, \"reason\": null}], \"times\": {\"count\": 0, "
                  "\"lines\": []}, \"misfits\": []}}\n"
                  "{\"sheet\": \"" +
                  json("plain.cue") +
                  "\", \"row\": null, \"outcome\": \"SKIPPED\", \"message\": null, \"reasons\": null}\n"
                  "{\"sheet\": \"" +
                  json("x.txt") +
                  "\", \"row\": null, \"outcome\": \"WARNING\", \"message\": \"x.txt is not a valid "
                  "CUE\", \"reasons\": null}\n{\"sheet\": \"" +
                  json("dir.cue") +
                  "\", \"row\": null, \"outcome\": \"ERROR\", \"message\": \"Impossible d'ouvrir le "
                  "fichier \\\"" +
                  json("dir.cue") + "\\\". " + SystemErrorText(EISDIR) + ".\", \"reasons\": null}\n" + good);
    EXPECT_EQ(printedErr.str(),
              "velmora-fix: " + (folder / "disc.cue") +
                  ": \"disc.bin\" on line 1 is still missing.\nvelmora-fix: x.txt is not a valid "
                  "CUE\nvelmora-fix: " +
                  (folder / "dir.cue") + ": Impossible d'ouvrir le fichier \"" + (folder / "dir.cue") +
                  "\". " + SystemErrorText(EISDIR) + ".\n");
}

} // namespace
} // namespace velmora::fix
