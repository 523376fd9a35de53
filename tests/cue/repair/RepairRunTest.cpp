#include "cue/repair/MoveRecord.h"
#include "files/PathNames.h"
#include "messages/Messages.h"
#include "tests/cue/TestSupport.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::HandToUnprivilegedUser;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::Row;
using testkit::RunUnprivileged;
using testkit::TempFolder;
using testkit::WriteFile;

const std::string kAudioSheet = "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"Track.wav\" WAVE\r\n"
                                "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n"
                                "    INDEX 01 03:10:74\r\n";
const std::string kImageSheet =
    "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n";

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
    for (const std::string name : {"album.CUE", "album", "dir.cue/album", "album.cue.bak", ""}) {
        SCOPED_TRACE('"' + name + '"');
        host = RecordingHost();
        host.buffer.SetText("previous");
        state.CuePath = name.empty() ? name : folder / name;
        EXPECT_EQ(traitementCUE(state, host), RunOutcome::Warning);
        EXPECT_EQ(host.warnings,
                  std::vector<std::string>{std::string(FileNamePart(name)) + " n'est pas un CUE valide"});
        EXPECT_TRUE(host.rows.empty());
        EXPECT_EQ(host.buffer.Text(), "previous");
        EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
        EXPECT_EQ(host.progress, 0);
    }
}

TEST_F(RepairRun, ClassifiesByCaseSensitiveKeywordsAnywhere) {
    const std::pair<std::string, RunOutcome> cases[] = {
        {"file \"x.bin\" binary\r\ntrack 01 audio\r\nindex 01 00:00:00\r\n", RunOutcome::Skipped},
        // Image tracks with PERFORMER and TITLE lines take the audio path.
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"x.bin\" BINARY\r\nTRACK 01 AUDIO\r\n", RunOutcome::Bad},
        // "FILE" inside PROFILE, "TITLE" inside SUBTITLE.
        {"REM PROFILE \"x.bin\"\r\nTRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n", RunOutcome::Cancelled},
        {"REM SUBTITLE\r\nREM AUDIO PERFORMER\r\n", RunOutcome::Bad},
        {"REM nothing to see\r\n", RunOutcome::Skipped},
    };
    for (const auto& [sheet, outcome] : cases) {
        SCOPED_TRACE(sheet);
        host = RecordingHost();
        WriteFile(folder / "s.cue", sheet);
        EXPECT_EQ(Run("s.cue"), outcome) << sheet;
        EXPECT_EQ(host.chooserCalls.size(), outcome == RunOutcome::Skipped ? 0u : 1u) << sheet;
        EXPECT_EQ(host.progress, outcome == RunOutcome::Skipped ? 0 : 100);
        EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
    }
}

TEST_F(RepairRun, AGoodAudioSheetIsLeftAsItIsWithoutABackup) {
    WriteFile(folder / "album.cue", kAudioSheet);
    WriteFile(folder / "Track.wav", "");
    struct stat before {};
    ::stat((folder / "album.cue").c_str(), &before);
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => GOOD", kGoodIcon}}));
    EXPECT_TRUE(host.chooserCalls.empty());
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    struct stat after {};
    ::stat((folder / "album.cue").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Track.wav", "album.cue"}));
    EXPECT_EQ(state.AudioName, "Track.wav");
    EXPECT_EQ(state.CueFolder, folder.Path());
    EXPECT_EQ(state.CurrentRow, 0);
}

TEST_F(RepairRun, TheBackupKeepsTheSheetAsItWasBeforeTheRepairThatChangedIt) {
    const std::string lfSheet = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"Track.wav\" WAVE\nTRACK 01 AUDIO\n";
    const std::string toCarry = kAudioSheet + "    INDEX 01 0:2:75\r\n";
    const std::string carried = kAudioSheet + "    INDEX 01 00:03:00\r\n";
    const std::string lfToCarry = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"Track.wav\" WAVE\nTRACK 01 AUDIO\n"
                                  "    INDEX 00 0:0:0\n    INDEX 01 0:2:75\n";
    const std::string lfCarried = lfSheet + "    INDEX 00 00:00:00\n    INDEX 01 00:03:00\n";
    struct Case {
        std::string sheet;
        std::optional<std::string> oldBackup;
        RunOutcome firstOutcome;
        std::string repaired;
        std::optional<std::string> backup;
    };
    // The backup is the sheet's bytes as they were on disk; a sheet that stays byte for byte as it is
    // (its own line breaks kept) gets none.
    const Case cases[] = {
        {kAudioSheet, std::nullopt, RunOutcome::Good, kAudioSheet, std::nullopt},
        {kAudioSheet, "older", RunOutcome::Good, kAudioSheet, "older"},
        {lfSheet, "older", RunOutcome::Good, lfSheet, "older"},
        {toCarry, "older", RunOutcome::Corrected, carried, toCarry},
        {lfToCarry, std::nullopt, RunOutcome::Corrected, lfCarried, lfToCarry},
    };
    WriteFile(folder / "Track.wav", "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        host = RecordingHost();
        std::filesystem::remove(folder / "album.cue.bak");
        WriteFile(folder / "album.cue", c.sheet);
        if (c.oldBackup) {
            WriteFile(folder / "album.cue.bak", *c.oldBackup);
        }
        EXPECT_EQ(Run("album.cue"), c.firstOutcome);
        EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
        EXPECT_EQ(ReadFile(folder / "album.cue"), c.repaired);
        EXPECT_EQ(std::filesystem::exists(folder / "album.cue.bak"), c.backup.has_value()) << c.sheet;
        if (c.backup) {
            EXPECT_EQ(ReadFile(folder / "album.cue.bak"), *c.backup) << c.sheet;
        }
        // The buffer holds the text as the repair sees it, with CR LF.
        EXPECT_EQ(host.buffer.Text(), NormaliseLineBreaks(c.repaired));
        EXPECT_EQ(host.rows.back(), (Row{"album.cue => GOOD", kGoodIcon}));
        EXPECT_EQ(state.CurrentRow, state.RowCount - 1);
    }
    EXPECT_TRUE(host.chooserCalls.empty());
}

TEST_F(RepairRun, AChosenAudioFileIsNamedOnTheFileLineOnly) {
    const std::string sheet =
        "REM COMMENT \"Track.wav\"\r\nPERFORMER \"Track.wav fans\"\r\nTITLE \"Microwave\"\r\n"
        "  FILE \"track.WAV\"   WAVE  \r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    // A file outside the sheet's folder is named by its path from there, so the sheet finds it again.
    const std::string up =
        "../" + std::filesystem::path(elsewhere.Path()).parent_path().filename().string() + "/";
    ::mkdir((folder / "sub").c_str(), 0755);
    const std::pair<std::string, std::string> cases[] = {
        // Only the name and the type keyword change; the type is one the cue format has.
        {"Track.mp3", "  FILE \"" + up + "Track.mp3\"   MP3  "},
        {"Song.Ogg", "  FILE \"" + up + "Song.Ogg\"   WAVE  "},
        {"noextension", "  FILE \"" + up + "noextension\"   WAVE  "},
        {"a.b.flac", "  FILE \"" + up + "a.b.flac\"   WAVE  "},
        {"Take.AIF", "  FILE \"" + up + "Take.AIF\"   AIFF  "},
        {"Take.aiff", "  FILE \"" + up + "Take.aiff\"   AIFF  "},
        {folder / "sub/Inside.mp3", "  FILE \"sub/Inside.mp3\"   MP3  "},
        {folder / "Beside.mp3", "  FILE \"Beside.mp3\"   MP3  "},
    };
    for (const auto& [name, fileLine] : cases) {
        SCOPED_TRACE(name);
        host = RecordingHost();
        std::filesystem::remove(folder / "album.cue.bak");
        WriteFile(folder / "album.cue", sheet);
        const std::string chosen = name[0] == '/' ? name : elsewhere / name;
        WriteFile(chosen, "audio");
        host.chooserAnswers = {chosen};
        EXPECT_EQ(Run("album.cue"), RunOutcome::Corrected) << chosen;
        std::string expected = sheet;
        expected.replace(expected.find("  FILE"), 27, fileLine);
        EXPECT_EQ(ReadFile(folder / "album.cue"), expected);
        EXPECT_EQ(ReadFile(folder / "album.cue.bak"), sheet);
        EXPECT_EQ(ReadFile(chosen), "audio");
        EXPECT_EQ(state.AudioName, "track.WAV");
        EXPECT_EQ(state.CorrectionCount, 1);
    }
    ASSERT_EQ(host.chooserCalls.size(), 1u);
    EXPECT_EQ(host.chooserCalls[0].InitialFolder, folder.Path());
    const FileFilterList& filters = host.chooserCalls[0].Filters;
    ASSERT_EQ(filters.size(), 6u);
    EXPECT_EQ(filters[0].Description + filters[0].Pattern + filters[5].Description + filters[5].Pattern,
              "Mp3 Files*.mp3Mpc Files*.mpc");
}

TEST_F(RepairRun, ASheetWithoutFileLineGetsOneBeforeItsFirstTrack) {
    const std::pair<std::string, std::string> cases[] = {
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\n  TRACK 01 AUDIO\r\n",
         "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.mp3\" MP3\r\n  TRACK 01 AUDIO\r\n"},
        {"PERFORMER \"p\"\r\nTITLE \"t\"\r\nREM AUDIO",
         "PERFORMER \"p\"\r\nTITLE \"t\"\r\nREM AUDIO\r\nFILE \"a.mp3\" MP3\r\n"},
        // FILES is no FILE line.
        {"FILES \"x\"\r\nPERFORMER AUDIO TITLE\r\nTRACK 01\r\n",
         "FILES \"x\"\r\nPERFORMER AUDIO TITLE\r\nFILE \"a.mp3\" MP3\r\nTRACK 01\r\n"},
    };
    WriteFile(folder / "a.mp3", "");
    for (const auto& [sheet, repaired] : cases) {
        SCOPED_TRACE(sheet);
        WriteFile(folder / "s.cue", sheet);
        host.chooserAnswers = {folder / "a.mp3"};
        host.chooserCalls.clear();
        EXPECT_EQ(Run("s.cue"), RunOutcome::Corrected);
        EXPECT_EQ(state.AudioName, "");
        EXPECT_EQ(ReadFile(folder / "s.cue"), repaired);
    }
}

TEST_F(RepairRun, CancelledOrUnusableAudioChoicesAreBadAndWriteNothing) {
    // Files whose names cannot stand in a FILE line, a folder, and a file that is not there.
    const std::optional<std::string> answers[] = {
        std::nullopt,           elsewhere / "say \"hi\".mp3", elsewhere / "two\nlines.mp3",
        elsewhere / "cr\r.wav", elsewhere / "folder.mp3",     elsewhere / "gone.mp3"};
    for (const char* name : {"say \"hi\".mp3", "two\nlines.mp3", "cr\r.wav"}) {
        WriteFile(elsewhere / name, "audio");
    }
    ::mkdir((elsewhere / "folder.mp3").c_str(), 0755);
    for (const std::optional<std::string>& answer : answers) {
        SCOPED_TRACE(answer.value_or("a cancel"));
        host = RecordingHost();
        WriteFile(folder / "album.cue", kAudioSheet);
        host.chooserAnswers = {answer};
        EXPECT_EQ(Run("album.cue"), RunOutcome::Bad);
        EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => BAD", kBadIcon}}));
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"album.cue"});
        EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    }
}

TEST_F(RepairRun, ErrorsEndTheRunBeforeAnyFileIsWritten) {
    const std::string sheet = kAudioSheet + "  TRACK 03 AUDIO\r\n    INDEX 01 00:02 ; half\r\n";
    WriteFile(folder / "album.cue", sheet);
    WriteFile(elsewhere / "new.mp3", "");
    host.chooserAnswers = {elsewhere / "new.mp3"};
    EXPECT_EQ(RunFailing("album.cue"), "'' n'est pas une valeur entière correcte");
    EXPECT_EQ(RunFailing("missing.cue"), "Impossible d'ouvrir le fichier \"" + (folder / "missing.cue") +
                                             "\". " + SystemErrorText(ENOENT));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"album.cue"});
    EXPECT_EQ(ReadFile(folder / "album.cue"), sheet);
    EXPECT_TRUE(host.rows.empty());
    EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true, false, true}));
    EXPECT_FALSE(state.RunInProgress);
    ::mkdir((folder / "folder.cue").c_str(), 0755);
    EXPECT_EQ(RunFailing("folder.cue"), "Impossible d'ouvrir le fichier \"" + (folder / "folder.cue") +
                                            "\". " + SystemErrorText(EISDIR));
    EXPECT_TRUE(host.rows.empty());
}

TEST_F(RepairRun, ReadOnlySheetOrBackupFailsWithTheCreateError) {
    WriteFile(folder / "Track.wav", "");
    WriteFile(folder / "sheet.cue", kAudioSheet + "    INDEX 01 1:2:3\r\n");
    WriteFile(folder / "backup.cue", kAudioSheet + "    INDEX 01 1:2:3\r\n");
    WriteFile(folder / "backup.cue.bak", "old backup");
    for (const char* name : {"", "sheet.cue", "backup.cue", "backup.cue.bak"}) {
        HandToUnprivilegedUser(folder / name);
    }
    ::chmod((folder / "sheet.cue").c_str(), 0444);
    ::chmod((folder / "backup.cue.bak").c_str(), 0444);
    const std::string report = RunUnprivileged([&] {
        std::string result;
        for (const char* name : {"sheet.cue", "backup.cue"}) {
            result += RunFailing(name);
            result += '|';
            result += std::to_string(host.rows.size());
            result += '\n';
        }
        return result;
    });
    const std::string denied = "\". " + SystemErrorText(EACCES);
    // The row comes before the sheet is written; a failed backup stops the run before it.
    EXPECT_EQ(report, "Impossible de créer le fichier \"" + (folder / "sheet.cue") + denied + "|1\n" +
                          "Impossible de créer le fichier \"" + (folder / "backup.cue.bak") + denied +
                          "|1\n");
    EXPECT_EQ(ReadFile(folder / "sheet.cue"), kAudioSheet + "    INDEX 01 1:2:3\r\n");
    EXPECT_EQ(ReadFile(folder / "sheet.cue.bak"), kAudioSheet + "    INDEX 01 1:2:3\r\n");
    EXPECT_EQ(ReadFile(folder / "backup.cue.bak"), "old backup");
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"Track.wav", "backup.cue", "backup.cue.bak", "sheet.cue",
                                        "sheet.cue.bak", "sheet.cue.moves"}));
}

TEST_F(RepairRun, AnImageFromAnotherFolderIsMovedInButNotRecorded) {
    WriteFile(folder / "disc.cue", kImageSheet);
    WriteFile(elsewhere / "other.bin", "image");
    host.chooserAnswers = {elsewhere / "other.bin"};
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Corrected);
    EXPECT_EQ(ReadFile(folder / "disc.bin"), "image");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"disc.bin", "disc.cue"}));
    EXPECT_TRUE(FolderEntries(elsewhere.Path()).empty());
}

TEST_F(RepairRun, AChosenImageIsMovedBesideTheSheetUnderItsName) {
    const std::string sheet = "REM COMMENT \"notes.txt\"\r\nTITLE \"x\"\r\n" + kImageSheet;
    WriteFile(folder / "disc.cue", sheet);
    WriteFile(folder / "other.bin", "image");
    host.chooserAnswers = {folder / "other.bin"};
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Corrected);
    EXPECT_EQ(state.BinName, "disc.bin");
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(host.rows,
              (std::vector<Row>{{"disc.cue => CORRECTED", kCorrectedIcon}, {"disc.cue => GOOD", kGoodIcon}}));
    EXPECT_EQ(ReadFile(folder / "disc.bin"), "image");
    EXPECT_EQ(ReadFile(folder / "disc.cue"), sheet);
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"disc.bin", "disc.cue", "disc.cue.moves"}));
    // Names relative to the sheet's folder: a record never points anywhere else. The move is marked made,
    // and the sheet the repair left is known by its digest.
    EXPECT_EQ(ReadFile(folder / "disc.cue.moves"),
              EncodeRecord({{{"other.bin", "disc.bin"}}, {true}, SheetDigest(sheet)}));
    ASSERT_EQ(host.chooserCalls.size(), 1u);
    const testkit::ChooserCall& call = host.chooserCalls[0];
    ASSERT_EQ(call.Filters.size(), 1u);
    EXPECT_EQ(call.Filters[0].Description + call.Filters[0].Pattern + call.InitialFolder,
              "BIN Files*.bin" + folder.Path());
}

TEST_F(RepairRun, ImageNameComesFromTheFileLineElseTheFirstQuotedText) {
    const std::string tracks = "TRACK 01 MODE1/2048\r\nINDEX 01 00:00:00\r\n";
    const std::tuple<std::string, std::optional<std::string>, RunOutcome, std::string> cases[] = {
        // sheet, chosen file, outcome, BinName
        {"REM \"first.bin\"\r\nFILE \"second.bin\" BINARY\r\n" + tracks, std::nullopt, RunOutcome::Cancelled,
         "second.bin"},
        {"REM PROFILE \"quoted.bin\"\r\n" + tracks, std::nullopt, RunOutcome::Cancelled, "quoted.bin"},
        {"\tFILE\" spaced.bin \" BINARY\r\n" + tracks, std::nullopt, RunOutcome::Cancelled, "spaced.bin"},
        {"\tFILE  \" spaced.bin \" BINARY\r\n" + tracks, std::nullopt, RunOutcome::Cancelled, "spaced.bin"},
        {"FILE disc.bin BINARY\r\n" + tracks, std::nullopt, RunOutcome::Cancelled, "disc.bin"},
        {kImageSheet, elsewhere / "missing.bin", RunOutcome::Bad, "disc.bin"},
        // No name: the target is the folder itself, which exists.
        {"FILE \"\" BINARY\r\n" + tracks, elsewhere / "a.bin", RunOutcome::Bad, ""},
        {"FILE \"sub/disc.bin\" BINARY\r\n" + tracks, elsewhere / "a.bin", RunOutcome::Bad, "sub/disc.bin"},
    };
    WriteFile(elsewhere / "a.bin", "image");
    for (const auto& [sheet, chosen, outcome, name] : cases) {
        SCOPED_TRACE(sheet);
        host = RecordingHost();
        host.chooserAnswers = {chosen};
        WriteFile(folder / "s.cue", sheet);
        EXPECT_EQ(Run("s.cue"), outcome) << sheet;
        EXPECT_EQ(state.BinName, name) << sheet;
        EXPECT_EQ(host.rows.size(), outcome == RunOutcome::Bad ? 1u : 0u);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"s.cue"});
    }
    EXPECT_EQ(ReadFile(elsewhere / "a.bin"), "image");
}

TEST_F(RepairRun, ARunStartedDuringTheAnimationIsRefused) {
    WriteFile(folder / "disc.cue", kImageSheet);
    WriteFile(folder / "disc.bin", "");
    std::vector<RunOutcome> nested;
    host.onPump = [&] {
        if (nested.empty()) {
            nested.push_back(traitementCUE(state, host));
        }
    };
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(nested, std::vector<RunOutcome>{RunOutcome::Refused});
    EXPECT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.linkStates, (std::vector<bool>{false, true}));
    EXPECT_EQ(host.progressSets, 1 + 100 + 1);
    EXPECT_EQ(host.pumps, 100);
    EXPECT_FALSE(state.RunInProgress);

    host = RecordingHost();
    host.animates = false;
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_EQ(host.progress, 100);
    EXPECT_EQ(host.pumps, 0);
}

TEST(Delay, EndsAfterTheTimeHasPassedAlsoWhenTheCounterWraps) {
    const std::array<std::uint32_t, 4> cases[] = {
        // start, step, ms, pumps
        {0, 1, 5, 5},           {0xFFFFFFFEu, 1, 5, 5}, {0xFFFFFFF0u, 8, 100, 13},
        {0x7FFFFFFFu, 1, 2, 2}, {0, 10, 1, 1},          {0, 1, 0, 1},
    };
    for (const auto& [start, step, ms, pumps] : cases) {
        RecordingHost host;
        host.tick = start;
        host.tickStep = step;
        Delay(host, ms);
        EXPECT_EQ(host.pumps, static_cast<int>(pumps)) << start << " + " << ms;
    }
}

} // namespace
} // namespace velmora
