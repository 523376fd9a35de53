#include "../cue/EncodedAudio.h"
#include "../cue/TestSupport.h"
#include "../messages/ScopedLanguage.h"
#include "RunVelmoraFix.h"
#include "cli/FixOptions.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora::fix {
namespace {

using velmora::testkit::FolderEntries;
using velmora::testkit::kSamplesPerCdFrame;
using velmora::testkit::ReadFile;
using velmora::testkit::RunProgram;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;
using velmora::testkit::WriteWav;

// Two tracks of one file, the second starting at `secondTrack`.
std::string Sheet(const std::string& file, const std::string& secondTrack, const std::string& type = "WAVE") {
    return "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"" + file + "\" " + type +
           "\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 01 " +
           secondTrack + "\r\n";
}

class LengthsAndRestore : public ::testing::Test {
protected:
    LengthsAndRestore() {
        // Ten seconds of audio: 750 frames, the last one 00:09:74.
        WriteWav(folder / "ten.wav", 750 * kSamplesPerCdFrame);
    }
    void Encode() {
        ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-o", folder / "ten.flac", folder / "ten.wav"}),
                  0);
        ASSERT_EQ(RunProgram({"lame", "--quiet", folder / "ten.wav", folder / "ten.mp3"}), 0);
    }
    TempFolder folder;
};

TEST_F(LengthsAndRestore, CheckTellsWhichSheetsFitTheirAudioAndWritesNothing) {
    const ScopedLanguage english(kEnglishMessages);
    Encode();
    const std::string image = "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 MODE1/2048\r\n    INDEX 01 00:01:00\r\n";
    const struct {
        std::string name;
        std::string sheet;
        std::string outcome;
        std::string err;
    } cases[] = {
        {"wav.cue", Sheet("ten.wav", "00:09:74"), "FITS", ""},
        {"wav-late.cue", Sheet("ten.wav", "00:10:00"), "DOES NOT FIT",
         "wav-late.cue:3: \"ten.wav\" is too short for the sheet: track 2 starts at 00:10:00, the audio "
         "lasts "
         "00:10.00 (right at its end)"},
        {"flac.cue", Sheet("ten.flac", "00:09:74"), "FITS", ""},
        {"flac-late.cue", Sheet("ten.flac", "00:10:01"), "DOES NOT FIT",
         "flac-late.cue:3: \"ten.flac\" is too short for the sheet: track 2 starts at 00:10:01, the audio "
         "lasts "
         "00:10.00 (00:00.02 past its end)"},
        {"mp3.cue", Sheet("ten.mp3", "00:09:74", "MP3"), "FITS", ""},
        {"mp3-late.cue", Sheet("ten.mp3", "00:11:00", "MP3"), "DOES NOT FIT", "mp3-late.cue:3: \"ten.mp3\""},
        {"image.cue", image, "FITS", ""},
        // A layout only TagLib reads, through the module the program loads for it.
        {"chunks.cue", Sheet("chunks.wav", "00:09:74"), "FITS", ""},
        {"chunks-late.cue", Sheet("chunks.wav", "00:10:00"), "DOES NOT FIT",
         "chunks-late.cue:3: \"chunks.wav\""},
        {"missing.cue", Sheet("gone.wav", "00:01:00"), "MISSING", "missing.cue:3: \"gone.wav\" is missing"},
        {"unread.cue", Sheet("notes.wav", "00:01:00"), "UNCHECKED",
         "unread.cue:3: the length of \"notes.wav\" could not be read"},
    };
    // Track 2 of the image starts after 75 frames of 2,048 bytes and holds one of them.
    WriteFile(folder / "disc.bin", std::string(76 * 2048, '\0'));
    WriteFile(folder / "notes.wav", "not audio");
    testkit::WriteWavAfterManyChunks(folder / "chunks.wav", 750 * kSamplesPerCdFrame);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(folder / c.name, c.sheet);
        const Finished finished = RunVelmoraFix(folder.Path(), "--check " + c.name);
        EXPECT_EQ(finished.out, c.name + " => " + c.outcome + "\n");
        EXPECT_EQ(finished.status, c.outcome == "FITS" || c.outcome == "UNCHECKED" ? 0 : 1) << c.name;
        EXPECT_EQ(finished.err.substr(0, 13 + c.err.size()), c.err.empty() ? "" : "velmora-fix: " + c.err)
            << c.name;
        EXPECT_EQ(ReadFile(folder / c.name), c.sheet) << c.name;
    }
    // One image frame less, and the second track has none.
    WriteFile(folder / "disc.bin", std::string(75 * 2048 + 2047, '\0'));
    const Finished shortImage = RunVelmoraFix(folder.Path(), "--check --json image.cue");
    EXPECT_EQ(shortImage.status, 1);
    EXPECT_NE(shortImage.out.find("\"outcome\": \"DOES NOT FIT\""), std::string::npos) << shortImage.out;
    EXPECT_NE(shortImage.out.find("\"misfits\": [{\"line\": 1, \"name\": \"disc.bin\", \"kind\": \"image\", "
                                  "\"track\": 2, \"index_line\": 5, \"start\": \"00:01:00\", \"length\": "
                                  "\"00:01:00\", \"past\": \"00:00:00\""),
              std::string::npos)
        << shortImage.out;
    EXPECT_FALSE(std::filesystem::exists(folder / "wav-late.cue.bak"));
}

TEST_F(LengthsAndRestore, ARepairReportsASheetPastItsAudioAndKeepsItsOutcome) {
    const ScopedLanguage english(kEnglishMessages);
    WriteFile(folder / "late.cue", Sheet("ten.wav", "0:10:0"));
    const Finished finished = RunVelmoraFix(folder.Path(), "--json late.cue");
    EXPECT_EQ(finished.status, 0);
    EXPECT_NE(finished.out.find("\"outcome\": \"CORRECTED\", \"message\": \"1 time was normalised (line 7). "
                                "\\\"ten.wav\\\" on line 3 is too short for the sheet: track 2 starts at "
                                "00:10:00, the audio lasts 00:10.00 (right at its end).\""),
              std::string::npos)
        << finished.out;
    EXPECT_EQ(finished.err,
              "velmora-fix: late.cue: 1 time was normalised (line 7). \"ten.wav\" on line 3 is too "
              "short for the sheet: track 2 starts at 00:10:00, the audio lasts 00:10.00 (right at "
              "its end).\n");
    // Without lengths, the run is what it always was.
    WriteFile(folder / "late.cue", Sheet("ten.wav", "00:10:00"));
    const Finished quiet = RunVelmoraFix(folder.Path(), "--no-lengths late.cue");
    EXPECT_EQ(quiet.out, "late.cue => GOOD\n");
    EXPECT_EQ(quiet.err, "");
    // --verbose says what was done to every sheet.
    WriteFile(folder / "fine.cue", Sheet("ten.wav", "00:05:00"));
    const Finished verbose = RunVelmoraFix(folder.Path(), "--verbose fine.cue");
    EXPECT_EQ(
        verbose.err,
        "velmora-fix: fine.cue: Every file the sheet names is present and every time is well formed.\n");
}

TEST_F(LengthsAndRestore, CheckRefusesTheTimesARepairRefusesWithTheSameError) {
    for (const char* time : {"5:00:0x1F", "1:2:3:4", "-5:00:00", "abc", "99999999999:00:00", "00:00"}) {
        SCOPED_TRACE(time);
        const std::string sheet = Sheet("ten.wav", time);
        WriteFile(folder / "odd.cue", sheet);
        const Finished checked = RunVelmoraFix(folder.Path(), "--check odd.cue");
        const Finished repaired = RunVelmoraFix(folder.Path(), "--dry-run odd.cue");
        EXPECT_EQ(checked.status, 2);
        EXPECT_EQ(repaired.status, 2);
        EXPECT_EQ(checked.out, "odd.cue => ERROR\n");
        EXPECT_EQ(checked.err, repaired.err);
        EXPECT_NE(checked.err.find("odd.cue:7: "), std::string::npos) << checked.err;
        EXPECT_EQ(ReadFile(folder / "odd.cue"), sheet);
    }
}

TEST_F(LengthsAndRestore, CheckFailsASheetPastADownloadCutShortAndFitsAPipedOne) {
    ASSERT_EQ(velmora::testkit::EncodingProblem(), "");
    const std::string& audio = velmora::testkit::EncodedAudio().Path();
    // The tone lasts four seconds; the cut files hold half of it, or an unknown part.
    const struct {
        const char* file;
        const char* outcome;
    } cases[] = {
        {"tone.flac", "FITS"},
        {"piped.flac", "FITS"},
        {"piped.wav", "FITS"},
        {"tone-50.flac", "DOES NOT FIT"},
        {"tone-50.mp3", "DOES NOT FIT"},
        {"tone-50.wav", "DOES NOT FIT"},
        {"tone-vbr-50.mp3", "UNCHECKED"},
        {"zeros.mp3", "UNCHECKED"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(audio + "late.cue", Sheet(c.file, "00:03:00"));
        const Finished checked = RunVelmoraFix(audio, "--check late.cue");
        EXPECT_EQ(checked.out, std::string("late.cue => ") + c.outcome + "\n") << checked.err;
    }
}

TEST_F(LengthsAndRestore, AutoNeverTakesNoiseThatClaimsHoursForItsLength) {
    ASSERT_EQ(velmora::testkit::EncodingProblem(), "");
    const velmora::testkit::TempFolder& audio = velmora::testkit::EncodedAudio();
    std::filesystem::copy_file(audio / "noise.mpc", folder / "Album.mpc");
    std::filesystem::copy_file(audio / "piped.flac", folder / "Album.flac");
    const std::string sheet = Sheet("Album.mp3", "00:03:00", "MP3");
    WriteFile(folder / "album.cue", sheet);
    // The piped FLAC holds the times and the noise's length is unknown: two candidates, so none is
    // taken without asking.
    const Finished picked = RunVelmoraFix(folder.Path(), "--auto --json album.cue");
    EXPECT_EQ(picked.status, 1) << picked.err;
    EXPECT_EQ(picked.out.find("Album.mpc"), std::string::npos) << picked.out;
    EXPECT_EQ(picked.out.find("chosen_for_length"), std::string::npos) << picked.out;
    EXPECT_EQ(ReadFile(folder / "album.cue"), sheet);
}

TEST_F(LengthsAndRestore, AutoTakesTheOnlyCandidateLongEnoughAndNeverOneTooShort) {
    const ScopedLanguage english(kEnglishMessages);
    // Two files carry the missing file's name; the FLAC, first by name, lasts four seconds only.
    WriteWav(folder / "short.wav", 300 * kSamplesPerCdFrame);
    ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-o", folder / "Album.flac", folder / "short.wav"}),
              0);
    std::filesystem::rename(folder / "short.wav", folder / "short.bin");
    std::filesystem::rename(folder / "ten.wav", folder / "Album.wav");
    WriteFile(folder / "album.cue", Sheet("Album.mp3", "00:09:00", "MP3"));
    const Finished picked = RunVelmoraFix(folder.Path(), "--auto --json album.cue");
    EXPECT_EQ(picked.status, 0) << picked.err;
    EXPECT_NE(picked.out.find("\"to\": \"Album.wav\", \"rule\": \"other-extension\", \"moved\": false, "
                              "\"chosen_for_length\": \"00:10.00 holds all 2 tracks\""),
              std::string::npos)
        << picked.out;
    EXPECT_EQ(ReadFile(folder / "album.cue"), Sheet("Album.wav", "00:09:00"));

    // Alone, the short one is never taken.
    std::filesystem::remove(folder / "Album.wav");
    WriteFile(folder / "album.cue", Sheet("Album.mp3", "00:09:00", "MP3"));
    const Finished refused = RunVelmoraFix(folder.Path(), "--auto album.cue");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "album.cue => BAD\n");
    EXPECT_EQ(ReadFile(folder / "album.cue"), Sheet("Album.mp3", "00:09:00", "MP3"));
}

TEST_F(LengthsAndRestore, RestorePutsSheetsAndMovedImagesBackByteForByte) {
    const ScopedLanguage english(kEnglishMessages);
    const std::string downloads = folder / "downloads";
    ::mkdir(downloads.c_str(), 0755);
    const std::string image = "FILE \"C:\\Games\\Game.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n"
                              "    INDEX 01 00:00:00\r\n";
    const std::string audio = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"ten.wav\" WAVE\n  TRACK 01 AUDIO\n"
                              "    INDEX 01 0:0:0\n";
    WriteFile(folder / "game.cue", image);
    WriteFile(folder / "album.cue", audio);
    WriteFile(folder / "fine.cue", Sheet("ten.wav", "00:01:00"));
    ::chmod((folder / "album.cue").c_str(), 0604);
    const std::string bytes(2352 * 3, 'x');
    WriteFile(folder / "downloads/download.bin", bytes);
    const Finished repaired = RunVelmoraFix(folder.Path(), "--bin " + (folder / "downloads/download.bin") +
                                                               " game.cue album.cue fine.cue");
    ASSERT_EQ(repaired.out, "game.cue => CORRECTED\nalbum.cue => CORRECTED\nfine.cue => GOOD\n")
        << repaired.err;

    const Finished restored =
        RunVelmoraFix(folder.Path(), "--restore --json game.cue album.cue fine.cue x.txt");
    EXPECT_EQ(restored.status, 1);
    EXPECT_EQ(
        restored.out,
        "{\"sheet\": \"game.cue\", \"row\": null, \"outcome\": \"RESTORED\", \"message\": null, "
        "\"sheet_restored\": true, \"moved_back\": [{\"from\": \"" +
            (folder / "Game.bin") + "\", \"to\": \"" + (folder / "downloads/download.bin") +
            "\"}]}\n"
            "{\"sheet\": \"album.cue\", \"row\": null, \"outcome\": \"RESTORED\", \"message\": null, "
            "\"sheet_restored\": true, \"moved_back\": []}\n"
            "{\"sheet\": \"fine.cue\", \"row\": null, \"outcome\": \"NO BACKUP\", \"message\": \"no backup "
            "and no record of moves: nothing was put back\"}\n"
            "{\"sheet\": \"x.txt\", \"row\": null, \"outcome\": \"WARNING\", \"message\": \"x.txt is not a "
            "valid CUE\"}\n");
    EXPECT_EQ(ReadFile(folder / "game.cue"), image);
    EXPECT_EQ(ReadFile(folder / "album.cue"), audio);
    EXPECT_EQ(ReadFile(folder / "downloads/download.bin"), bytes);
    struct stat info {};
    ::stat((folder / "album.cue").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"album.cue", "downloads", "fine.cue", "game.cue", "ten.wav"}));
}

TEST_F(LengthsAndRestore, ADryRunMeasuresAMovedImageWhereItStillLies) {
    const ScopedLanguage english(kEnglishMessages);
    const TempFolder downloads;
    const std::string sheet = "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 AUDIO\r\n    INDEX 01 00:01:00\r\n";
    WriteFile(folder / "disc.cue", sheet);
    // Ten frames: track 2, at frame 75, lies past its end.
    WriteFile(downloads / "short.bin", std::string(10 * 2352, 's'));
    const std::string expected =
        "velmora-fix: disc.cue: The file of line 1 was moved in as \"disc.bin\" (chosen by you). "
        "\"disc.bin\" on line 1 is too short for the sheet: track 2 "
        "starts at 00:01:00, the image holds 00:00:10 at 2,352 bytes a frame (00:00:65 past "
        "its end).\n";
    const Finished dry =
        RunVelmoraFix(folder.Path(), "--dry-run --bin " + (downloads / "short.bin") + " disc.cue");
    EXPECT_EQ(dry.err, expected);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"disc.cue", "ten.wav"}));
    const Finished real = RunVelmoraFix(folder.Path(), "--bin " + (downloads / "short.bin") + " disc.cue");
    EXPECT_EQ(real.out, "disc.cue => CORRECTED\n");
    EXPECT_EQ(real.err, expected);
}

// TagLib is loaded only when a sheet needs it, so the program does not link it.
TEST(ProgramLinks, VelmoraFixLinksNoTagLib) {
    const std::string ldd = "ldd '" + std::string(VELMORA_FIX_PROGRAM) + "' | grep -q ";
    ASSERT_EQ(RunProgram({"sh", "-c", ldd + "libc.so"}), 0);
    EXPECT_EQ(RunProgram({"sh", "-c", ldd + "libtag"}), 1);
}

TEST(FixOptionsOfChecksAndRestores, TheyGoWithNoRepairOption) {
    const ScopedLanguage english(kEnglishMessages);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--check", "--restore", "a.cue"}, "--check and --restore exclude each other"},
        {{"--check", "--auto", "a.cue"},
         "--check repairs nothing: --bin, --audio, --auto and --dry-run do not go with it"},
        {{"--restore", "--bin", "x.bin", "a.cue"},
         "--restore repairs nothing: --bin, --audio, --auto and --dry-run do not go with it"},
        {{"--restore", "--dry-run", "a.cue"},
         "--restore repairs nothing: --bin, --audio, --auto and --dry-run do not go with it"},
        {{"--check", "--no-lengths", "a.cue"}, "--check needs the lengths that --no-lengths turns off"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        try {
            ParseArguments(arguments);
            ADD_FAILURE() << message << " was accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
    const FixOptions check = ParseArguments({"--check", "--recursive", "--json", "--verbose", "a"});
    EXPECT_TRUE(check.Check && check.Recursive && check.Json && check.Verbose && check.ReadLengths);
}

} // namespace
} // namespace velmora::fix
