#include "../../messages/ScopedLanguage.h"
#include "tests/cue/TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::kWindowsFileNames;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::Row;
using testkit::TempFolder;
using testkit::WriteFile;

const std::string kHeader = "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\n";
const std::string kMultiFile = kHeader +
                               "FILE \"01.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                               "FILE \"02.wav\" WAVE\r\n  TRACK 02 AUDIO\r\n    INDEX 01 0:0:0\r\n"
                               "FILE \"03.wav\" WAVE\r\n  TRACK 03 AUDIO\r\n    INDEX 01 00:00:00\r\n";

const std::string kGameSheet =
    "FILE \"Game (Track 1).bin\" BINARY\r\n  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n"
    "FILE \"Game (Track 2).bin\" BINARY\r\n  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00\r\n";

class MultiFileRepair : public testkit::SheetRepairTest {
protected:
    // The first line's image lies beside the sheet under its name in capitals; the second is chosen
    // from elsewhere.
    void RunGameWithItsFirstImageInCapitals() {
        WriteFile(folder / "game.cue", kGameSheet);
        WriteFile(folder / "GAME (TRACK 1).BIN", "one");
        WriteFile(elsewhere / "two.bin", "two");
        host.takeSingleCandidate = true;
        host.chooserAnswers = {elsewhere / "two.bin"};
        EXPECT_EQ(Run("game.cue"), RunOutcome::Corrected);
    }
};

TEST_F(MultiFileRepair, EachFileLineIsCheckedAndRepairedInOrder) {
    WriteFile(folder / "album.cue", kMultiFile);
    for (const char* name : {"01.wav", "02.flac", "03.ape", "03.flac"}) {
        WriteFile(folder / name, "");
    }
    WriteFile(folder / "Third.mp3", "");
    host.takeSingleCandidate = true;
    host.chooserAnswers = {folder / "Third.mp3"};
    EXPECT_EQ(Run("album.cue"), RunOutcome::Corrected);

    std::string expected = kMultiFile;
    expected.replace(expected.find("02.wav\" WAVE"), 12, "02.flac\" WAVE");
    expected.replace(expected.find("03.wav\" WAVE"), 12, "Third.mp3\" MP3");
    expected.replace(expected.find("0:0:0"), 5, "00:00:00");
    EXPECT_EQ(ReadFile(folder / "album.cue"), expected);
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), kMultiFile);
    EXPECT_EQ(state.AudioName, "01.wav");
    EXPECT_EQ(state.CorrectionCount, 3);

    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[0].LineNumber, 6u);
    EXPECT_EQ(host.requests[0].ReferencedName, "02.wav");
    EXPECT_EQ(host.requests[0].InitialFolder, folder.Path());
    EXPECT_EQ(host.requests[0].Candidates, std::vector<std::string>{folder / "02.flac"});
    EXPECT_EQ(host.requests[1].Candidates, (std::vector<std::string>{folder / "03.ape", folder / "03.flac"}));
    EXPECT_EQ(host.requests[1].Filters.size(), 6u);

    ASSERT_EQ(host.reports.size(), 1u);
    const RowReport& report = host.reports[0];
    ASSERT_EQ(report.Repaired.size(), 2u);
    EXPECT_EQ(report.Repaired[0].LineNumber, 6u);
    EXPECT_EQ(report.Repaired[0].NewName, "02.flac");
    EXPECT_EQ(report.Repaired[0].Rule, CandidateRule::OtherExtension);
    EXPECT_EQ(report.Repaired[1].NewName, "Third.mp3");
    EXPECT_EQ(report.Repaired[1].Rule, std::nullopt);
    EXPECT_EQ(report.NormalisedTimeLines, std::vector<std::size_t>{8});
    EXPECT_TRUE(report.Missing.empty());
}

TEST_F(MultiFileRepair, AReferenceThatStaysMissingIsBadAndNothingIsWritten) {
    const std::pair<std::vector<std::optional<std::string>>, std::size_t> cases[] = {
        // chooser answers, requests made
        {{std::nullopt}, 1},
        {{folder / "b.flac", std::nullopt}, 2},
        {{elsewhere / "say \"hi\".flac"}, 1},
    };
    for (const auto& [answers, requests] : cases) {
        SCOPED_TRACE(answers[0].value_or("a cancel") + (answers.size() > 1 ? ", then a cancel" : ""));
        host = RecordingHost();
        host.animates = false;
        host.chooserAnswers = answers;
        WriteFile(folder / "album.cue", kMultiFile);
        WriteFile(folder / "01.wav", "");
        WriteFile(folder / "b.flac", "");
        EXPECT_EQ(Run("album.cue"), RunOutcome::Bad);
        EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => BAD", kBadIcon}}));
        EXPECT_EQ(host.requests.size(), requests);
        EXPECT_EQ(ReadFile(folder / "album.cue"), kMultiFile);
        EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"01.wav", "album.cue", "b.flac"}));
        EXPECT_EQ(host.reports.size(), 1u);
        if (host.reports.size() != 1u) {
            continue;
        }
        EXPECT_EQ(host.reports[0].Missing.size(), 1u);
        if (host.reports[0].Missing.size() == 1u) {
            EXPECT_EQ(host.reports[0].Missing[0].LineNumber, requests == 1 ? 6u : 9u);
        }
    }
}

TEST_F(MultiFileRepair, NamesAreWrittenInTheSheetsEncodingOrReported) {
    // "Кино.wav" in a Windows-1251 sheet.
    const std::string sheet =
        "PERFORMER \"\xCA\xE8\xED\xEE\"\r\nTITLE \"\xC3\xF0\xF3\xEF\xEF\xE0\"\r\n"
        "FILE \"\xCA\xE8\xED\xEE.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    const std::tuple<std::string, RunOutcome, std::string> cases[] = {
        {"Кино.flac", RunOutcome::Corrected, "FILE \"\xCA\xE8\xED\xEE.flac\" WAVE"},
        {"ラヴ.flac", RunOutcome::Bad, "FILE \"\xCA\xE8\xED\xEE.wav\" WAVE"},
        // A name of bytes that are no UTF-8 exists on Linux only.
        {"Bj\xF6rk.mp3", RunOutcome::Corrected, "FILE \"Bj\xF6rk.mp3\" MP3"},
    };
    for (const auto& [chosen, outcome, fileLine] : cases) {
        SCOPED_TRACE(chosen);
        if (kWindowsFileNames && chosen == "Bj\xF6rk.mp3") {
            continue;
        }
        host = RecordingHost();
        host.animates = false;
        WriteFile(folder / chosen, "");
        host.chooserAnswers = {folder / chosen};
        WriteFile(folder / "album.cue", sheet);
        EXPECT_EQ(Run("album.cue"), outcome) << chosen;
        std::string expected = sheet;
        expected.replace(expected.find("FILE"), 20, fileLine);
        EXPECT_EQ(ReadFile(folder / "album.cue"), expected) << chosen;
        EXPECT_EQ(host.reports.size(), 1u);
        if (host.reports.size() != 1u) {
            continue;
        }
        EXPECT_EQ(host.reports[0].Encoding, SheetEncoding::Windows1251);
        EXPECT_EQ(host.reports[0].Missing.size() == 1 && host.reports[0].Missing[0].NotWritable,
                  outcome == RunOutcome::Bad);
    }
}

TEST_F(MultiFileRepair, AFileUnderItsNameInUtf8IsPresentForASheetInACodePage) {
    WriteFile(folder / "album.cue", "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"Bj\xF6rk.wav\" WAVE\r\nTRACK "
                                    "01 AUDIO\r\nINDEX 01 00:00:00\r\n");
    WriteFile(folder / "Björk.wav", "");
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_TRUE(host.requests.empty());
}

TEST_F(MultiFileRepair, ImagesAreMovedInOrderUnderTheirNames) {
    if (kWindowsFileNames) {
        GTEST_SKIP() << "Windows finds \"Game (Track 1).bin\" as it is: see the next case";
    }
    RunGameWithItsFirstImageInCapitals();
    EXPECT_EQ(
        FolderEntries(folder.Path()),
        (std::vector<std::string>{"Game (Track 1).bin", "Game (Track 2).bin", "game.cue", "game.cue.moves"}));
    EXPECT_EQ(ReadFile(folder / "Game (Track 2).bin"), "two");
    EXPECT_EQ(ReadFile(folder / "game.cue"), kGameSheet);
    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[0].Filters.size(), 1u);
    // The file moved for the first line is no candidate for the second.
    EXPECT_TRUE(host.requests[1].Candidates.empty());
    const RowReport& report = host.reports.at(0);
    ASSERT_EQ(report.Moves.size(), 2u);
    EXPECT_EQ(report.Moves[0].From, folder / "GAME (TRACK 1).BIN");
    EXPECT_EQ(report.Moves[0].To, folder / "Game (Track 1).bin");
    EXPECT_EQ(report.Repaired.at(0).Rule, CandidateRule::SameNameIgnoringCase);
    EXPECT_TRUE(report.Repaired.at(1).Moved);
}

// Where names are found in any letter case, the first line's file is present as it lies, and it is no
// candidate for the second line under any case.
TEST_F(MultiFileRepair, AnImageNamedInAnotherCaseIsPresentAndNeverMovedAway) {
    if (!kWindowsFileNames) {
        GTEST_SKIP() << "Linux names differ by case: see the case before";
    }
    RunGameWithItsFirstImageInCapitals();
    // The second image came from another folder: no record may send it back there.
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"GAME (TRACK 1).BIN", "Game (Track 2).bin", "game.cue"}));
    EXPECT_EQ(ReadFile(folder / "GAME (TRACK 1).BIN"), "one");
    EXPECT_EQ(ReadFile(folder / "Game (Track 2).bin"), "two");
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_TRUE(host.requests[0].Candidates.empty());
}

// Two references renamed, by a rule and by the user, and three times normalised.
RowReport TwoRenamesAndThreeTimes() {
    RowReport repaired;
    repaired.Repaired.push_back(
        {3, "a.wav", "a.flac", CandidateRule::OtherExtension, false, false, {}, std::nullopt});
    repaired.Repaired.push_back({7, "b.wav", "b.mp3", std::nullopt, false, false, {}, std::nullopt});
    repaired.NormalisedTimeLines = {5, 9, 12};
    return repaired;
}

TEST(RowReasons, TellWhatWasDoneInOneOrTwoSentences) {
    const ScopedLanguage english(kEnglishMessages);
    const RowReport repaired = TwoRenamesAndThreeTimes();
    RowReport missing;
    missing.Encoding = SheetEncoding::Windows1251;
    missing.Missing.push_back({4, "\xCA\xE8\xED\xEE.wav", "", std::nullopt, false, true, {}, std::nullopt});
    RowReport refused;
    refused.Missing.push_back(
        {2, "d.bin", "", std::nullopt, false, false, "\"/m/dir\" is not a regular file", std::nullopt});
    RowReport moved;
    moved.Repaired.push_back(
        {1, "d.bin", "d.bin", CandidateRule::SameNameIgnoringCase, true, false, {}, std::nullopt});
    moved.NormalisedTimeLines = {2};
    // Names from a download are values, never patterns: their "%s" stays as it is.
    RowReport placeholders;
    placeholders.Repaired.push_back(
        {2, "%s.wav", "%s%s.flac", CandidateRule::OtherExtension, false, false, {}, std::nullopt});
    placeholders.Missing.push_back(
        {6, "%s.bin", "", std::nullopt, false, false, "\"/m/%s\" is not a regular file", std::nullopt});
    const std::pair<RowReport, std::string> cases[] = {
        {RowReport(), "Every file the sheet names is present and every time is well formed."},
        {repaired,
         "Line 3 now names \"a.flac\" (same name with another extension); line 7 now names \"b.mp3\" "
         "(chosen by you). 3 times were normalised (lines 5, 9 and 12)."},
        {missing, "\"Кино.wav\" on line 4 is still missing: the chosen name cannot be written in the sheet "
                  "(Windows-1251)."},
        {refused, "\"d.bin\" on line 2 is still missing: \"/m/dir\" is not a regular file."},
        {moved, "The file of line 1 was moved in as \"d.bin\" (same name ignoring letter case). 1 time was "
                "normalised (line 2)."},
        {placeholders,
         "Line 2 now names \"%s%s.flac\" (same name with another extension). \"%s.bin\" on line 6 "
         "is still missing: \"/m/%s\" is not a regular file."},
    };
    for (const auto& [report, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RowReasonsText(report), text);
    }
}

// Each sentence is the language's own, the first of a list capitalised, the lists joined its way.
TEST(RowReasons, AreWholeSentencesInTheUsersLanguage) {
    const RowReport repaired = TwoRenamesAndThreeTimes();
    RowReport moved;
    moved.Repaired.push_back(
        {1, "d.bin", "d.bin", std::nullopt, true, false, {}, "61:12.00 contient les 14 pistes"});
    moved.Missing.push_back({4, "e.bin", "", std::nullopt, false, false, {}, std::nullopt});
    const std::pair<RowReport, std::string> cases[] = {
        {repaired,
         "La ligne 3 nomme désormais \"a.flac\" (même nom avec une autre extension) ; la ligne 7 "
         "nomme désormais \"b.mp3\" (choisi par vous). 3 temps ont été normalisés (lignes 5, 9 et 12)."},
        {moved,
         "Le fichier de la ligne 1 a été déplacé ici sous le nom \"d.bin\" (choisi par vous, choisi pour "
         "sa durée : 61:12.00 contient les 14 pistes). \"e.bin\" à la ligne 4 manque toujours."},
    };
    for (const auto& [report, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RowReasonsText(report), text);
    }
}

} // namespace
} // namespace velmora
