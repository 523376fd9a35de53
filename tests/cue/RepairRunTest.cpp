#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::HandToUnprivilegedUser;
using testing::ReadFile;
using testing::RecordingHost;
using testing::Row;
using testing::RunUnprivileged;
using testing::TempFolder;
using testing::WriteFile;

const std::string AudioSheet = "PERFORMER \"Band\"\r\n"
                               "TITLE \"Album\"\r\n"
                               "FILE \"Track.wav\" WAVE\r\n"
                               "  TRACK 01 AUDIO\r\n"
                               "    TITLE \"One\"\r\n"
                               "    INDEX 01 00:00:00\r\n"
                               "  TRACK 02 AUDIO\r\n"
                               "    TITLE \"Two\"\r\n"
                               "    INDEX 01 03:10:74\r\n";

const std::string ImageSheet = "FILE \"disc.bin\" BINARY\r\n"
                               "  TRACK 01 MODE2/2352\r\n"
                               "    INDEX 01 00:00:00\r\n";

class RepairRun : public ::testing::Test {
protected:
    RunOutcome Run(const std::string& name) {
        state.CuePath = folder / name;
        return traitementCUE(state, host);
    }
    std::string RunFailing(const std::string& name) {
        try {
            Run(name);
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    TempFolder folder;
    TempFolder elsewhere;
    RecordingHost host;
    RepairState state;
};

TEST_F(RepairRun, RejectsPathsThatDoNotEndInDotCue) {
    const std::pair<std::string, std::string> cases[] = {
        {"album.CUE", "album.CUE is not a valid CUE"},
        {"album", "album is not a valid CUE"},
        {"dir.cue/album", "album is not a valid CUE"},
        {"album.cue.bak", "album.cue.bak is not a valid CUE"},
    };
    for (const auto& [name, warning] : cases) {
        host = RecordingHost();
        host.buffer.SetText("previous");
        EXPECT_EQ(Run(name), RunOutcome::Warning);
        EXPECT_EQ(host.warnings, std::vector<std::string>{warning});
        EXPECT_TRUE(host.rows.empty());
        EXPECT_EQ(host.buffer.Text(), "previous");
        EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
        EXPECT_EQ(host.progress, 0);
    }
    state.CuePath.clear();
    host.warnings.clear();
    EXPECT_EQ(traitementCUE(state, host), RunOutcome::Warning);
    EXPECT_EQ(host.warnings, std::vector<std::string>{" is not a valid CUE"});
}

TEST_F(RepairRun, ClassifiesByCaseSensitiveKeywordsAnywhere) {
    struct Case {
        std::string sheet;
        RunOutcome outcome;
        int choosers;
    };
    const Case cases[] = {
        {"file \"x.bin\" binary\r\ntrack 01 audio\r\nindex 01 00:00:00\r\n", RunOutcome::Skipped, 0},
        // Image tracks with PERFORMER and TITLE lines take the audio path.
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"x.bin\" BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00:00\r\n",
         RunOutcome::Bad, 1},
        // "FILE" inside PROFILE, "TITLE" inside SUBTITLE.
        {"REM PROFILE \"x.bin\"\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", RunOutcome::Cancelled, 1},
        {"REM SUBTITLE\r\nREM AUDIO PERFORMER\r\n", RunOutcome::Bad, 1},
        {"REM nothing to see\r\n", RunOutcome::Skipped, 0},
    };
    for (const Case& c : cases) {
        host = RecordingHost();
        WriteFile(folder / "s.cue", c.sheet);
        EXPECT_EQ(Run("s.cue"), c.outcome) << c.sheet;
        EXPECT_EQ(static_cast<int>(host.chooserCalls.size()), c.choosers) << c.sheet;
        EXPECT_EQ(host.progress, c.outcome == RunOutcome::Skipped ? 0 : 100);
        EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
    }
}

TEST_F(RepairRun, AudioSheetWithItsFileIsGoodAndGetsABackup) {
    WriteFile(folder / "album.cue", AudioSheet);
    WriteFile(folder / "Track.wav", "");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => GOOD", GoodIcon}}));
    EXPECT_TRUE(host.chooserCalls.empty());
    EXPECT_EQ(ReadFile(folder / "album.cue"), AudioSheet);
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), AudioSheet);
    EXPECT_EQ(state.AudioName, "Track.wav");
    EXPECT_EQ(state.CueFolder, folder.Path());
    EXPECT_EQ(state.CurrentRow, 0);
}

TEST_F(RepairRun, AudioTimesAreCorrectedAndTheBackupHoldsTheOriginal) {
    const std::string lfSheet = "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"Track.wav\" WAVE\n"
                                "  TRACK 01 AUDIO\n    INDEX 00 0:0:0\n    INDEX 01 0:2:75\n";
    WriteFile(folder / "album.cue", lfSheet);
    WriteFile(folder / "Track.wav", "");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Corrected);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => CORRECTED", CorrectedIcon}}));
    EXPECT_EQ(ReadFile(folder / "album.cue"),
              "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"Track.wav\" WAVE\r\n"
              "  TRACK 01 AUDIO\r\n    INDEX 00 0:0:0\r\n    INDEX 01 00:03:00\r\n");
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"),
              "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"Track.wav\" WAVE\r\n"
              "  TRACK 01 AUDIO\r\n    INDEX 00 0:0:0\r\n    INDEX 01 0:2:75\r\n");
    EXPECT_EQ(host.buffer.Text(), ReadFile(folder / "album.cue"));
    EXPECT_EQ(state.CorrectionCount, 1);
}

TEST_F(RepairRun, ALineBreakConversionAloneIsGoodButRewritesTheSheet) {
    WriteFile(folder / "album.cue",
              "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"Track.wav\" WAVE\nTRACK 01 AUDIO\n");
    WriteFile(folder / "Track.wav", "");
    WriteFile(folder / "album.cue.bak", "older backup");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    const std::string crlf =
        "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"Track.wav\" WAVE\r\nTRACK 01 AUDIO\r\n";
    EXPECT_EQ(ReadFile(folder / "album.cue"), crlf);
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), crlf);
}

TEST_F(RepairRun, ASecondPassKeepsTheBackupOfTheOriginal) {
    const std::string original = AudioSheet + "  TRACK 03 AUDIO\r\n    INDEX 01 1:2:3\r\n";
    WriteFile(folder / "album.cue", original);
    WriteFile(folder / "Track.wav", "");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Corrected);
    const std::string repaired = ReadFile(folder / "album.cue");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_EQ(ReadFile(folder / "album.cue"), repaired);
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), original);
    EXPECT_EQ(host.rows,
              (std::vector<Row>{{"album.cue => CORRECTED", CorrectedIcon}, {"album.cue => GOOD", GoodIcon}}));
    EXPECT_EQ(state.CurrentRow, 1);
}

TEST_F(RepairRun, AMissingAudioFileIsReplacedOnTheFileLineOnly) {
    const std::string sheet = "REM COMMENT \"Track.wav\"\r\n"
                              "PERFORMER \"Track.wav fans\"\r\n"
                              "TITLE \"Microwave\"\r\n"
                              "  FILE \"track.WAV\"   WAVE  \r\n"
                              "  TRACK 01 AUDIO\r\n"
                              "    INDEX 01 00:00:00\r\n";
    const struct {
        std::string chosen;
        std::string fileLine;
    } cases[] = {
        {elsewhere / "Track.mp3", "  FILE \"Track.mp3\" MP3"},
        {elsewhere / "Song.Ogg", "  FILE \"Song.Ogg\" OGG"},
        {elsewhere / "noextension", "  FILE \"noextension\""},
        {elsewhere / "a.b.flac", "  FILE \"a.b.flac\" FLAC"},
    };
    for (const auto& c : cases) {
        host = RecordingHost();
        std::filesystem::remove(folder / "album.cue.bak");
        WriteFile(folder / "album.cue", sheet);
        WriteFile(c.chosen, "audio");
        host.chooserAnswers = {c.chosen};
        EXPECT_EQ(Run("album.cue"), RunOutcome::Corrected) << c.chosen;
        std::string expected = sheet;
        expected.replace(expected.find("  FILE"), std::string("  FILE \"track.WAV\"   WAVE  ").size(),
                         c.fileLine);
        EXPECT_EQ(ReadFile(folder / "album.cue"), expected);
        EXPECT_EQ(ReadFile(folder / "album.cue.bak"), sheet);
        EXPECT_EQ(ReadFile(c.chosen), "audio");
        EXPECT_EQ(state.AudioName, "track.WAV");
        EXPECT_EQ(state.CorrectionCount, 1);
    }
    ASSERT_EQ(host.chooserCalls.size(), 1u);
    EXPECT_EQ(host.chooserCalls[0].InitialFolder, folder.Path());
    ASSERT_EQ(host.chooserCalls[0].Filters.size(), 6u);
    EXPECT_EQ(host.chooserCalls[0].Filters[0].Description, "Mp3 Files");
    EXPECT_EQ(host.chooserCalls[0].Filters[0].Pattern, "*.mp3");
    EXPECT_EQ(host.chooserCalls[0].Filters[5].Description, "Mpc Files");
    EXPECT_EQ(host.chooserCalls[0].Filters[5].Pattern, "*.mpc");
}

TEST_F(RepairRun, ASheetWithoutFileLineGetsOneBeforeItsFirstTrack) {
    const std::pair<std::string, std::string> cases[] = {
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n",
         "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.mp3\" MP3\r\n  TRACK 01 AUDIO\r\n    INDEX 01 "
         "00:00:00\r\n"},
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\nREM AUDIO",
         "PERFORMER \"p\"\r\nTITLE \"t\"\r\nREM AUDIO\r\nFILE \"a.mp3\" MP3\r\n"},
        // "FILES" is no FILE line.
        {"FILES \"x\"\r\nPERFORMER AUDIO TITLE\r\nTRACK 01\r\n",
         "FILES \"x\"\r\nPERFORMER AUDIO TITLE\r\nFILE \"a.mp3\" MP3\r\nTRACK 01\r\n"},
    };
    for (const auto& [sheet, repaired] : cases) {
        host = RecordingHost();
        WriteFile(folder / "s.cue", sheet);
        host.chooserAnswers = {elsewhere / "a.mp3"};
        EXPECT_EQ(Run("s.cue"), RunOutcome::Corrected);
        EXPECT_EQ(state.AudioName, "");
        EXPECT_EQ(ReadFile(folder / "s.cue"), repaired);
    }
}

TEST_F(RepairRun, CancellingTheAudioChooserIsBadAndWritesNothing) {
    WriteFile(folder / "album.cue", AudioSheet);
    EXPECT_EQ(Run("album.cue"), RunOutcome::Bad);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => BAD", BadIcon}}));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"album.cue"});
    EXPECT_EQ(ReadFile(folder / "album.cue"), AudioSheet);
}

TEST_F(RepairRun, ANameThatCannotStandInAFileLineIsBad) {
    for (const char* name : {"say \"hi\".mp3", "two\nlines.mp3", "cr\r.wav"}) {
        host = RecordingHost();
        WriteFile(folder / "album.cue", AudioSheet);
        host.chooserAnswers = {elsewhere / name};
        EXPECT_EQ(Run("album.cue"), RunOutcome::Bad) << name;
        EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => BAD", BadIcon}}));
        EXPECT_EQ(ReadFile(folder / "album.cue"), AudioSheet);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"album.cue"});
    }
}

TEST_F(RepairRun, AConversionErrorLeavesEveryFileAsItWas) {
    const std::string sheet = AudioSheet + "  TRACK 03 AUDIO\r\n    INDEX 01 00:02 ; half\r\n";
    WriteFile(folder / "album.cue", sheet);
    host.chooserAnswers = {elsewhere / "new.mp3"};
    EXPECT_EQ(RunFailing("album.cue"), "'02 ; half' n'est pas une valeur entière correcte");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"album.cue"});
    EXPECT_EQ(ReadFile(folder / "album.cue"), sheet);
    EXPECT_TRUE(host.rows.empty());
    EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
    EXPECT_FALSE(state.RunInProgress);
}

TEST_F(RepairRun, AnUnreadableSheetEndsTheRunWithTheOpenError) {
    ::mkdir((folder / "folder.cue").c_str(), 0755);
    const std::pair<std::string, std::string> cases[] = {
        {"missing.cue", "No such file or directory"},
        {"folder.cue", "Is a directory"},
    };
    for (const auto& [name, systemText] : cases)
        EXPECT_EQ(RunFailing(name),
                  "Impossible d'ouvrir le fichier \"" + (folder / name) + "\". " + systemText);
    EXPECT_TRUE(host.rows.empty());
    EXPECT_FALSE(state.RunInProgress);
}

TEST_F(RepairRun, ReadOnlySheetOrBackupFailsWithTheCreateError) {
    WriteFile(folder / "Track.wav", "");
    WriteFile(folder / "sheet.cue", AudioSheet);
    WriteFile(folder / "backup.cue", AudioSheet);
    WriteFile(folder / "backup.cue.bak", "old backup");
    for (const char* name : {"", "sheet.cue", "backup.cue", "backup.cue.bak"})
        HandToUnprivilegedUser(folder / name);
    ::chmod((folder / "sheet.cue").c_str(), 0444);
    ::chmod((folder / "backup.cue.bak").c_str(), 0444);
    ::chmod((folder / "Track.wav").c_str(), 0644);

    const std::string report = RunUnprivileged([&] {
        std::string result;
        for (const char* name : {"sheet.cue", "backup.cue"}) {
            // A change to the sheet makes the backup necessary.
            WriteFileAtomically(folder / "backup.cue", AudioSheet + "INDEX 01 1:2:3\r\n");
            result += RunFailing(name);
            result += "|" + std::to_string(host.rows.size()) + "\n";
        }
        return result;
    });
    const std::string denied = "\". Permission denied";
    EXPECT_EQ(report, "Impossible de créer le fichier \"" + (folder / "sheet.cue") + denied + "|1\n" +
                          "Impossible de créer le fichier \"" + (folder / "backup.cue.bak") + denied +
                          "|1\n");
    EXPECT_EQ(ReadFile(folder / "sheet.cue"), AudioSheet);
    EXPECT_EQ(ReadFile(folder / "sheet.cue.bak"), AudioSheet);
    EXPECT_EQ(ReadFile(folder / "backup.cue.bak"), "old backup");
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"Track.wav", "backup.cue", "backup.cue.bak", "sheet.cue",
                                        "sheet.cue.bak"}));
}

TEST_F(RepairRun, ImageSheetWithItsImageIsGoodAndUntouched) {
    WriteFile(folder / "disc.cue", ImageSheet);
    WriteFile(folder / "disc.bin", "image");
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"disc.cue => GOOD", GoodIcon}}));
    EXPECT_TRUE(host.chooserCalls.empty());
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"disc.bin", "disc.cue"}));
}

TEST_F(RepairRun, AChosenImageIsMovedBesideTheSheetUnderItsName) {
    const std::string sheet = "REM COMMENT \"notes.txt\"\r\nTITLE \"x\"\r\n" + ImageSheet;
    WriteFile(folder / "disc.cue", sheet);
    WriteFile(elsewhere / "other.bin", "image");
    host.chooserAnswers = {elsewhere / "other.bin"};
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Corrected);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"disc.cue => CORRECTED", CorrectedIcon}}));
    EXPECT_EQ(state.BinName, "disc.bin");
    EXPECT_EQ(ReadFile(folder / "disc.bin"), "image");
    EXPECT_FALSE(Exists(elsewhere / "other.bin"));
    EXPECT_EQ(ReadFile(folder / "disc.cue"), sheet);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"disc.bin", "disc.cue"}));
    ASSERT_EQ(host.chooserCalls.size(), 1u);
    ASSERT_EQ(host.chooserCalls[0].Filters.size(), 1u);
    EXPECT_EQ(host.chooserCalls[0].Filters[0].Description, "BIN Files");
    EXPECT_EQ(host.chooserCalls[0].Filters[0].Pattern, "*.bin");
    EXPECT_EQ(host.chooserCalls[0].InitialFolder, folder.Path());
}

TEST_F(RepairRun, ImageNameComesFromTheFileLineElseTheFirstQuotedText) {
    const std::pair<std::string, std::string> cases[] = {
        {"REM \"first.bin\"\r\nFILE \"second.bin\" BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n",
         "second.bin"},
        {"REM PROFILE \"quoted.bin\"\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", "quoted.bin"},
        {"\tFILE  \" spaced.bin \" BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", "spaced.bin"},
        {"FILE disc.bin BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", ""},
    };
    for (const auto& [sheet, name] : cases) {
        host = RecordingHost();
        WriteFile(folder / "s.cue", sheet);
        EXPECT_EQ(Run("s.cue"), RunOutcome::Cancelled);
        EXPECT_EQ(state.BinName, name) << sheet;
        EXPECT_TRUE(host.rows.empty());
    }
}

TEST_F(RepairRun, ImageMovesThatFailAreBad) {
    const std::pair<std::string, std::string> cases[] = {
        // No name: the target is the folder itself.
        {"FILE disc BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", elsewhere / "a.bin"},
        {ImageSheet, elsewhere / "missing.bin"},
        {"FILE \"sub/disc.bin\" BINARY\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", elsewhere / "a.bin"},
    };
    WriteFile(elsewhere / "a.bin", "image");
    for (const auto& [sheet, chosen] : cases) {
        host = RecordingHost();
        WriteFile(folder / "s.cue", sheet);
        host.chooserAnswers = {chosen};
        EXPECT_EQ(Run("s.cue"), RunOutcome::Bad) << sheet;
        EXPECT_EQ(host.rows, (std::vector<Row>{{"s.cue => BAD", BadIcon}}));
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"s.cue"});
    }
    EXPECT_EQ(ReadFile(elsewhere / "a.bin"), "image");
}

TEST_F(RepairRun, ARunStartedWhileOneIsInProgressIsRefused) {
    WriteFile(folder / "album.cue", AudioSheet);
    WriteFile(folder / "Track.wav", "");
    std::vector<RunOutcome> nested;
    host.onPump = [&] {
        if (nested.empty())
            nested.push_back(traitementCUE(state, host));
    };
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_EQ(nested, std::vector<RunOutcome>{RunOutcome::Refused});
    EXPECT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
    EXPECT_FALSE(state.RunInProgress);
}

TEST_F(RepairRun, AnimationStepsTheBarAndPumpsEvents) {
    WriteFile(folder / "disc.cue", ImageSheet);
    WriteFile(folder / "disc.bin", "");
    host.tickStep = 1;
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(host.progress, 100);
    EXPECT_EQ(host.progressSets, 1 + 100 + 1);
    EXPECT_EQ(host.pumps, 100);

    host = RecordingHost();
    host.animates = false;
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(host.progress, 100);
    EXPECT_EQ(host.pumps, 0);
}

TEST(Delay, EndsAfterTheTimeHasPassedAlsoWhenTheCounterWraps) {
    struct Case {
        std::uint32_t start, step, ms;
        int pumps;
    };
    const Case cases[] = {
        {0, 1, 5, 5},           {0xFFFFFFFEu, 1, 5, 5}, {0xFFFFFFF0u, 8, 100, 13},
        {0x7FFFFFFFu, 1, 2, 2}, {0, 10, 1, 1},          {0, 1, 0, 1},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        host.tick = c.start;
        host.tickStep = c.step;
        Delay(host, c.ms);
        EXPECT_EQ(host.pumps, c.pumps) << c.start << " + " << c.ms;
    }
}

} // namespace
} // namespace velmora
