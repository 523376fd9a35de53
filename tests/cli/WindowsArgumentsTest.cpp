// What only Windows hands velmora-fix.exe: arguments in UTF-16, "\" between folders, ":" in names, and
// paths longer than MAX_PATH.
#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"
#include "files/win32/WidePaths.h"

#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string& kSheet = kSheetToRewrite;
const std::string& kRepaired = kSheetRewritten;

void MakeFolder(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryW(WidePath(path).c_str(), nullptr)) << path;
}

TEST(WindowsArguments, EitherSeparatorAndUnicodeNamesReachTheSheet) {
    const struct {
        std::string folder;
        std::string argument;
        std::string out;
    } cases[] = {
        {"sub", "sub\\album.cue", "sub\\album.cue => CORRECTED\n"},
        {"sub", "sub/album.cue", "sub/album.cue => CORRECTED\n"},
        {"Bj\xC3\xB6rk", "\"Bj\xC3\xB6rk\\album.cue\"", "Bj\xC3\xB6rk\\album.cue => CORRECTED\n"},
        {"\xE5\xAE\x87\xE5\xA4\x9A\xE7\x94\xB0 \xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE",
         "\"\xE5\xAE\x87\xE5\xA4\x9A\xE7\x94\xB0 \xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE/album.cue\"",
         "\xE5\xAE\x87\xE5\xA4\x9A\xE7\x94\xB0 \xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE/album.cue => CORRECTED\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        TempFolder scratch;
        MakeFolder(scratch / c.folder);
        WriteFile(scratch / (c.folder + "\\album.cue"), kSheet);
        WriteFile(scratch / (c.folder + "\\a.wav"), "");
        const Finished finished = RunVelmoraFix(scratch.Path(), c.argument);
        EXPECT_EQ(finished.status, 0);
        EXPECT_EQ(finished.out, c.out);
        EXPECT_EQ(ReadFile(scratch / (c.folder + "\\album.cue")), kRepaired);
    }
}

// The extension runs from the last "." after the last "\", "/" and ":".
TEST(WindowsArguments, TheExtensionStopsAtEverySeparatorAndColon) {
    TempFolder scratch;
    MakeFolder(scratch / "dir.cue");
    WriteFile(scratch / "dir.cue\\album", kSheet);
    const struct {
        std::string argument;
        std::string err;
    } cases[] = {
        {"dir.cue\\album", "album n'est pas un CUE valide"},
        {"dir.cue/album", "album n'est pas un CUE valide"},
        {"dir.cue:album", "dir.cue:album n'est pas un CUE valide"},
    };
    for (const auto& c : cases) {
        const Finished finished = RunVelmoraFix(scratch.Path(), c.argument);
        EXPECT_EQ(finished.status, 1) << c.argument;
        EXPECT_EQ(finished.out, c.argument + " => WARNING\n");
        EXPECT_EQ(finished.err, "velmora-fix: " + c.err + "\n");
    }
    EXPECT_EQ(ReadFile(scratch / "dir.cue\\album"), kSheet);
}

// Folders nested past MAX_PATH: the sheet is found, repaired with its backup, and a disc image is
// moved in beside it, by its full path and by a recursive run above it.
TEST(WindowsArguments, PathsLongerThanMaxPathAreRepaired) {
    TempFolder scratch;
    std::string deep = scratch.Path();
    while (deep.size() < 320) {
        deep += std::string(50, 'd') + "\\";
        MakeFolder(deep);
    }
    WriteFile(deep + "album.cue", kSheet);
    WriteFile(deep + "a.wav", "");
    WriteFile(deep + "disc.cue",
              "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
    WriteFile(scratch / "image.bin", "image");

    Finished finished = RunVelmoraFix(scratch.Path(), "\"" + deep + "album.cue\"");
    EXPECT_EQ(finished.out, deep + "album.cue => CORRECTED\n");
    EXPECT_EQ(ReadFile(deep + "album.cue"), kRepaired);
    EXPECT_EQ(ReadFile(deep + "album.cue.bak"), kSheet);

    // Without its last "\", which would escape the closing quote of the command line.
    const std::string top = scratch.Path().substr(0, scratch.Path().size() - 1);
    finished = RunVelmoraFix(scratch.Path(), "--bin image.bin --recursive \"" + top + "\"");
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(ReadFile(deep + "disc.bin"), "image");
    EXPECT_EQ(ReadFile(deep + "album.cue"), kRepaired);
}

// Without TagLib, --check measures disc images by their size, finds missing files, and leaves audio
// unchecked rather than calling it fitting.
TEST(WindowsArguments, CheckMeasuresImagesAndLeavesAudioUnchecked) {
    TempFolder scratch;
    WriteFile(scratch / "album.cue", kRepaired);
    WriteFile(scratch / "a.wav", "");
    WriteFile(scratch / "gone.cue", "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"gone.wav\" WAVE\r\n");
    const std::string image = "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 AUDIO\r\n    INDEX 01 00:00:02\r\n";
    WriteFile(scratch / "disc.cue", image);
    WriteFile(scratch / "short.cue",
              "FILE \"short.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n"
              "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 01 00:00:02\r\n");
    WriteFile(scratch / "disc.bin", std::string(3 * 2352, '\0'));
    WriteFile(scratch / "short.bin", std::string(2352, '\0'));
    const Finished finished = RunVelmoraFix(scratch.Path(), "--check album.cue gone.cue disc.cue short.cue");
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.out,
              "album.cue => UNCHECKED\ngone.cue => MISSING\ndisc.cue => FITS\nshort.cue => DOES NOT FIT\n");
}

// The own header probes read audio lengths on Windows as on Linux: a sheet whose last track starts past
// the end of its WAV, FLAC or MP3 (with an Info header or without) does not fit.
TEST(WindowsArguments, CheckReadsAudioLengthsWithTheOwnProbes) {
    TempFolder scratch;
    testkit::WriteWav(scratch / "two-seconds.wav", 2 * 44100);
    const struct {
        const char* audio;
        // Made by sox, flac and lame from two seconds of a tone.
        bool fromData;
    } files[] = {{"two-seconds.wav", false},
                 {"two-seconds.flac", true},
                 {"two-seconds.mp3", true},
                 {"two-seconds-bare.mp3", true}};
    std::string arguments = "--check";
    std::string expected;
    for (const auto& file : files) {
        if (file.fromData) {
            WriteFile(scratch / file.audio, ReadFile(std::string(VELMORA_AUDIO_DATA) + "/" + file.audio));
        }
        for (const char* start : {"00:01:50", "00:02:50"}) {
            const std::string sheet = std::string(file.audio) + "-" + start[4] + ".cue";
            WriteFile(scratch / sheet, "FILE \"" + std::string(file.audio) +
                                           "\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                           "  TRACK 02 AUDIO\r\n    INDEX 01 " +
                                           start + "\r\n");
            arguments += " " + sheet;
            expected += sheet + (start[4] == '1' ? " => FITS\n" : " => DOES NOT FIT\n");
        }
    }
    const Finished finished = RunVelmoraFix(scratch.Path(), arguments);
    EXPECT_EQ(finished.status, 1) << finished.err;
    EXPECT_EQ(finished.out, expected);
}

// The sheets a recursive run finds are shown with "/" between the folders below the one given, as on
// Linux, however the given folder was typed.
TEST(WindowsArguments, RecursiveRowsSeparateFoldersWithASlash) {
    TempFolder scratch;
    MakeFolder(scratch / "sub");
    MakeFolder(scratch / "sub\\deeper");
    WriteFile(scratch / "sub\\deeper\\album.cue", kRepaired);
    WriteFile(scratch / "sub\\deeper\\a.wav", "");
    for (const char* given : {"sub", "sub\\", "sub/", ".\\sub"}) {
        const Finished finished = RunVelmoraFix(scratch.Path(), std::string("--check --recursive ") + given);
        EXPECT_EQ(finished.out, "sub/deeper/album.cue => UNCHECKED\n") << given;
    }
}

// A moved image and a rewritten sheet go back where they were, through the wide calls on both ways.
TEST(WindowsArguments, RestoreTakesAMoveAndARewriteBack) {
    TempFolder scratch;
    MakeFolder(scratch / "other");
    const std::string sheet =
        "FILE \"C:\\Games\\disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    WriteFile(scratch / "disc.cue", sheet);
    WriteFile(scratch / "other\\image.bin", std::string(2352, 'i'));
    Finished finished = RunVelmoraFix(scratch.Path(), "--bin other\\image.bin disc.cue");
    EXPECT_EQ(finished.out, "disc.cue => CORRECTED\n");
    EXPECT_EQ(ReadFile(scratch / "disc.bin"), std::string(2352, 'i'));
    EXPECT_EQ(ReadFile(scratch / "disc.cue.bak"), sheet);
    finished = RunVelmoraFix(scratch.Path(), "--restore disc.cue");
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, "disc.cue => RESTORED\n");
    EXPECT_EQ(ReadFile(scratch / "disc.cue"), sheet);
    EXPECT_EQ(ReadFile(scratch / "other\\image.bin"), std::string(2352, 'i'));
    EXPECT_EQ(testkit::FolderEntries(scratch.Path()), (std::vector<std::string>{"disc.cue", "other"}));
}

// Paths go into JSON as UTF-8, "\" escaped.
TEST(WindowsArguments, JsonNamesTheSheetByItsUnicodePath) {
    TempFolder scratch;
    MakeFolder(scratch / "Caf\xC3\xA9");
    WriteFile(scratch / "Caf\xC3\xA9\\album.cue", kSheet);
    WriteFile(scratch / "Caf\xC3\xA9\\a.wav", "");
    const Finished finished = RunVelmoraFix(scratch.Path(), "--json Caf\xC3\xA9\\album.cue");
    const std::string start = "{\"sheet\": \"Caf\xC3\xA9\\\\album.cue\", \"row\": \"album.cue => CORRECTED\"";
    EXPECT_EQ(finished.out.substr(0, start.size()), start);
}

} // namespace
} // namespace velmora::fix
