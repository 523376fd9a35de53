#include "../../messages/ScopedLanguage.h"
#include "tests/cue/TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::FixedLengths;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::Row;
using testkit::TempFolder;
using testkit::WriteFile;

// Fourteen tracks, the last at 61:00:00.
std::string AlbumSheet(const std::string& name) {
    std::string sheet = "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"" + name + "\" WAVE\r\n";
    for (int track = 1; track <= 14; ++track) {
        std::string number = std::to_string(track);
        number.insert(0, 2 - number.size(), '0');
        sheet.append("  TRACK ").append(number).append(" AUDIO\r\n    INDEX 01 ");
        sheet.append(track == 14 ? "61" : number).append(":00:00\r\n");
    }
    return sheet;
}

AudioLength Seconds(std::uint64_t seconds) {
    return {seconds * 1000, 1000};
}

class LengthRepair : public testkit::SheetRepairTest {
protected:
    LengthRepair() { host.lengths = &lengths; }
    FixedLengths lengths;
};

TEST_F(LengthRepair, CandidatesThatHoldTheTimesComeFirstAndAutoTakesTheOnlyOneThatMay) {
    const ScopedLanguage english(kEnglishMessages);
    const AudioLength holds = Seconds(61 * 60 + 12);
    const AudioLength tooShort = Seconds(60 * 60);
    const struct {
        const char* note;
        std::map<std::string, AudioLength> lengths;
        std::vector<std::string> order;
        std::size_t plausible;
        // What --auto takes, "" for nothing; and the reason it gives.
        std::string taken;
        std::string reason;
    } cases[] = {
        {"the longer one is preferred though it sorts last",
         {{"Album.ape", tooShort}, {"Album.flac", holds}},
         {"Album.flac", "Album.ape"},
         1,
         "Album.flac",
         "Line 3 now names \"Album.flac\" (same name with another extension, chosen for its length: "
         "61:12.00 holds all 14 tracks)."},
        {"both hold: today's order, still a question",
         {{"Album.ape", holds}, {"Album.flac", holds}},
         {"Album.ape", "Album.flac"},
         2,
         "",
         ""},
        {"a length that cannot be read may still hold; a short one may not",
         {{"Album.ape", tooShort}},
         {"Album.flac", "Album.ape"},
         1,
         "Album.flac",
         "Line 3 now names \"Album.flac\" (same name with another extension)."},
        {"both too short: nothing is taken",
         {{"Album.ape", tooShort}, {"Album.flac", tooShort}},
         {"Album.ape", "Album.flac"},
         0,
         "",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const TempFolder scratch;
        WriteFile(scratch / "album.cue", AlbumSheet("Album.wav"));
        WriteFile(scratch / "Album.ape", "");
        WriteFile(scratch / "Album.flac", "");
        lengths.byName = c.lengths;
        host.takeSingleCandidate = true;
        host.requests.clear();
        host.reports.clear();
        state.CuePath = scratch / "album.cue";
        const RunOutcome outcome = traitementCUE(state, host);
        EXPECT_EQ(host.requests.size(), 1u);
        if (host.requests.size() != 1u) {
            continue;
        }
        std::vector<std::string> order;
        for (const std::string& candidate : host.requests[0].Candidates) {
            order.push_back(candidate.substr(scratch.Path().size()));
        }
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(host.requests[0].PlausibleCandidates, c.plausible);
        EXPECT_EQ(outcome, c.taken.empty() ? RunOutcome::Bad : RunOutcome::Corrected);
        if (!c.taken.empty()) {
            EXPECT_EQ(ReadFile(scratch / "album.cue"), AlbumSheet(c.taken));
            EXPECT_EQ(host.reports.size(), 1u);
            if (!host.reports.empty()) {
                EXPECT_EQ(RowReasonsText(host.reports[0]), c.reason);
            }
        }
    }
}

TEST_F(LengthRepair, ASheetPastTheEndOfItsAudioKeepsItsRowAndSaysWhy) {
    const ScopedLanguage english(kEnglishMessages);
    WriteFile(folder / "album.cue", AlbumSheet("Album.wav"));
    WriteFile(folder / "Album.wav", "");
    lengths.byName = {{"Album.wav", {3602400, 1000}}};
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_EQ(host.rows, (std::vector<Row>{{"album.cue => GOOD", kGoodIcon}}));
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(RowReasonsText(host.reports[0]),
              "\"Album.wav\" on line 3 is too short for the sheet: track 14 starts at 61:00:00, the audio "
              "lasts 60:02.40 (00:57.60 past its end).");
    ASSERT_EQ(host.reports[0].Misfits.size(), 1u);
    EXPECT_EQ(host.reports[0].Misfits[0].Index.LineNumber, 31u);

    // A file whose length cannot be read is passed as before; so is every file without a reader.
    lengths.byName.clear();
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_TRUE(host.reports.back().Misfits.empty());
    lengths.byName = {{"Album.wav", {3602400, 1000}}};
    host.lengths = nullptr;
    EXPECT_EQ(Run("album.cue"), RunOutcome::Good);
    EXPECT_TRUE(host.reports.back().Misfits.empty());
    EXPECT_EQ(RowReasonsText(host.reports.back()),
              "Every file the sheet names is present and every time is well formed.");
}

TEST_F(LengthRepair, ImagesAreMeasuredByTheirSizeAtTheirTracksFrameSize) {
    const ScopedLanguage english(kEnglishMessages);
    const std::string sheet = "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00\r\n";
    WriteFile(folder / "disc.cue", sheet);
    // The audio track starts after 150 frames of 2,048 bytes and needs one frame of 2,352.
    WriteFile(folder / "disc.bin", std::string(150 * 2048 + 2351, '\0'));
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    ASSERT_EQ(host.reports.back().Misfits.size(), 1u);
    EXPECT_EQ(
        MisfitText(host.reports.back().Misfits[0]),
        "track 2 starts at 00:02:00, the image holds 00:02:00 at 2,352 bytes a frame (right at its end)");
    WriteFile(folder / "disc.bin", std::string(150 * 2048 + 2352, '\0'));
    EXPECT_EQ(Run("disc.cue"), RunOutcome::Good);
    EXPECT_TRUE(host.reports.back().Misfits.empty());
    EXPECT_EQ(ReadFile(folder / "disc.cue"), sheet);
}

TEST_F(LengthRepair, TheSheetIsCheckedAsItIsSavedAfterTheRepairChangedIt) {
    const ScopedLanguage english(kEnglishMessages);
    const std::string carried = "PERFORMER \"Band\"\r\nTITLE \"Album\"\r\nFILE \"one.wav\" WAVE\r\n"
                                "  TRACK 01 AUDIO\r\n    INDEX 01 0:0:0\r\nFILE \"disc.bin\" BINARY\r\n"
                                "  TRACK 02 AUDIO\r\n    INDEX 01 0:0:10\r\n";
    const struct {
        const char* note;
        std::string sheet;
        // The file the user picks for a missing reference, "" for none.
        std::string chosen;
        RunOutcome outcome;
        std::string reasons;
    } cases[] = {
        {"a reference renamed to a file too short for it", AlbumSheet("Album.wav"), "Album.flac",
         RunOutcome::Corrected,
         "Line 3 now names \"Album.flac\" (same name with another extension). \"Album.flac\" on line 3 is "
         "too "
         "short for the sheet: track 14 starts at 61:00:00, the audio lasts 60:00.00 (01:00.00 past its "
         "end)."},
        // The carried times lengthen the lines before the image's FILE line: its type must be read where
        // it now lies for the image to be measured by its size.
        {"times carried before an image too small for its track", carried, "", RunOutcome::Corrected,
         "2 times were normalised (lines 5 and 8). \"disc.bin\" on line 6 is too short for the sheet: track "
         "2 starts at 00:00:10, the image holds "
         "00:00:10 at 2,352 bytes a frame (right at its end)."},
        // An image named outside the sheet's folder is moved in and its FILE line names it there.
        {"an image moved in too small for its track",
         "FILE \"../gone/rip.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:10\r\n", "found.bin",
         RunOutcome::Corrected,
         "The file of line 1 was moved in as \"rip.bin\" (chosen by you). \"rip.bin\" on line 1 is too short "
         "for the sheet: track 1 starts at 00:00:10, the image holds 00:00:10 at 2,352 bytes a frame (right "
         "at "
         "its end)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const TempFolder scratch;
        WriteFile(scratch / "album.cue", c.sheet);
        WriteFile(scratch / "Album.flac", "");
        WriteFile(scratch / "one.wav", "");
        WriteFile(scratch / "disc.bin", std::string(10 * 2352, '\0'));
        WriteFile(scratch / "found.bin", std::string(10 * 2352, '\0'));
        lengths.byName = {{"Album.flac", Seconds(60 * 60)}, {"one.wav", Seconds(60)}};
        host.chooserAnswers = {scratch / c.chosen};
        host.chooserCalls.clear();
        host.reports.clear();
        state.CuePath = scratch / "album.cue";
        EXPECT_EQ(traitementCUE(state, host), c.outcome);
        ASSERT_EQ(host.reports.size(), 1u);
        EXPECT_EQ(RowReasonsText(host.reports[0]), c.reasons);
    }
}

} // namespace
} // namespace velmora
