#include "cue/lengths/LengthFit.h"

#include "../../messages/ScopedLanguage.h"
#include "cue/references/FileTimes.h"
#include "cue/repair/MoveRecord.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr std::uint64_t kCdRate = 44100;
constexpr std::uint64_t kSamplesPerFrame = 588;

FileTimes TimesAt(std::vector<std::pair<int, std::int64_t>> trackFrames, std::uint32_t sectorSize = 2352) {
    FileTimes times;
    std::size_t line = 2;
    for (const auto& [track, frames] : trackFrames) {
        times.Indexes.push_back({line++, track, frames, sectorSize});
    }
    return times;
}

FileCapacity Audio(std::uint64_t samples, std::uint32_t rate = kCdRate) {
    return {false, {samples, rate}, 0};
}

FileCapacity Image(std::uint64_t bytes) {
    return {true, {}, bytes};
}

TEST(LengthFit, AnIndexMustLieBeforeTheEndOfWhatTheFileHolds) {
    const ScopedLanguage english(kEnglishMessages);
    // Ten seconds of CD audio are 750 frames: the last frame that still has audio after it is 749.
    const std::uint64_t tenSeconds = 750 * kSamplesPerFrame;
    const struct {
        const char* note;
        FileTimes times;
        FileCapacity capacity;
        std::string expected; // "" when it holds
    } cases[] = {
        {"last frame", TimesAt({{1, 0}, {2, 749}}), Audio(tenSeconds), ""},
        {"right at the end", TimesAt({{1, 0}, {2, 750}}), Audio(tenSeconds),
         "track 2 starts at 00:10:00, the audio lasts 00:10.00 (right at its end)"},
        {"one frame past, rounded up to a hundredth", TimesAt({{1, 0}, {2, 751}}), Audio(tenSeconds),
         "track 2 starts at 00:10:01, the audio lasts 00:10.00 (00:00.02 past its end)"},
        {"a frame shorter", TimesAt({{1, 0}, {2, 749}}), Audio(tenSeconds - 588),
         "track 2 starts at 00:09:74, the audio lasts 00:09.98 (right at its end)"},
        {"the example of a long album", TimesAt({{11, 0}, {12, (74 * 60 + 10) * 75}}), Audio(3602400, 1000),
         "track 12 starts at 74:10:00, the audio lasts 60:02.40 (14:07.60 past its end)"},
        {"the first track past the end is named", TimesAt({{1, 0}, {2, 800}, {3, 900}}), Audio(tenSeconds),
         "track 2 starts at 00:10:50, the audio lasts 00:10.00 (00:00.67 past its end)"},
        {"milliseconds only", TimesAt({{1, 0}, {2, 74}}), Audio(1000, 1000), ""},
        {"raw image: one frame holds a track at 0", TimesAt({{1, 0}}), Image(2352), ""},
        {"raw image: an empty image holds nothing", TimesAt({{1, 0}}), Image(0),
         "track 1 starts at 00:00:00, the image holds 00:00:00 at 2,352 bytes a frame (right at its end)"},
        {"raw image: one byte short of the last track's first frame", TimesAt({{1, 0}, {2, 150}}),
         Image(151 * 2352 - 1),
         "track 2 starts at 00:02:00, the image holds 00:02:00 at 2,352 bytes a frame (right at its end)"},
        {"MODE1/2048 counts 2,048 bytes a frame", TimesAt({{1, 0}, {2, 150}}, 2048), Image(151 * 2048), ""},
        {"MODE1/2048 two frames short", TimesAt({{1, 0}, {2, 150}}, 2048), Image(149 * 2048),
         "track 2 starts at 00:02:00, the image holds 00:01:74 at 2,048 bytes a frame (00:00:01 past its "
         "end)"},
    };
    for (const auto& c : cases) {
        const std::optional<LengthMisfit> misfit = FirstMisfit(c.times, c.capacity);
        EXPECT_EQ(misfit ? MisfitText(*misfit) : "", c.expected) << c.note;
        EXPECT_EQ(Holds(c.times, c.capacity), c.expected.empty()) << c.note;
    }
}

TEST(LengthFit, MixedModeImagesCountEachTracksFramesAtItsOwnSize) {
    // A data track of 100 frames at 2,048 bytes, then audio at 2,352: the audio track starts at byte
    // 204,800 and needs one whole frame after it.
    FileTimes times;
    times.Indexes = {{2, 1, 0, 2048}, {4, 2, 100, 2352}};
    EXPECT_TRUE(Holds(times, Image(100 * 2048 + 2352)));
    EXPECT_FALSE(Holds(times, Image(100 * 2048 + 2351)));
    // Counted at 2,352 throughout, the same size would seem far too short.
    EXPECT_FALSE(Holds(TimesAt({{1, 0}, {2, 100}}), Image(100 * 2048 + 2352)));
    EXPECT_EQ(CapacityText(times, Image(100 * 2048 + 2352 * 75)), "00:02:25");
}

TEST(LengthFit, LengthsAreWrittenCutNeverRounded) {
    const std::pair<AudioLength, std::string> cases[] = {
        {{0, 44100}, "00:00.00"},
        {{44099, 44100}, "00:00.99"},
        {{44100 * 61 + 441, 44100}, "01:01.01"},
        {{3602400, 1000}, "60:02.40"},
        {{100ULL * 3600 * 48000, 48000}, "6000:00.00"},
        {{5, 0}, "00:00.00"},
    };
    for (const auto& [length, text] : cases) {
        EXPECT_EQ(FormatAudioLength(length), text) << length.Samples << " at " << length.SampleRate;
    }
}

TEST(FileTimes, EachFileGetsTheIndexLinesAfterIt) {
    const std::string sheet = "REM INDEX 01 00:00:00\r\n"
                              "FILE \"data.bin\" BINARY\r\n"
                              "  TRACK 01 MODE1/2048\r\n"
                              "    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 AUDIO\r\n"
                              "    INDEX 00 00:58:74\r\n"
                              "    INDEX 01 00:59:75\r\n"
                              "FILE \"b.wav\" WAVE\r\n"
                              "  TRACK 03 AUDIO\r\n"
                              "    INDEX 01 aa:00:00\r\n"
                              "    INDEX 02 1:2:3 ; a comment\r\n"
                              "  TRACK 04 CDG\r\n"
                              "\tINDEX 01 00:01:00\r\n";
    const std::vector<FileTimes> times = IndexTimesByFile(sheet, FindFileReferences(sheet));
    ASSERT_EQ(times.size(), 2u);
    const auto points = [](const FileTimes& file) {
        std::vector<std::tuple<std::size_t, int, std::int64_t, std::uint32_t>> rows;
        for (const IndexPoint& point : file.Indexes) {
            rows.emplace_back(point.LineNumber, point.Track, point.Frames, point.SectorSize);
        }
        return rows;
    };
    using Rows = std::vector<std::tuple<std::size_t, int, std::int64_t, std::uint32_t>>;
    // A frame count of 75 carries into the seconds; an unreadable time is left to the repair.
    EXPECT_EQ(points(times[0]), (Rows{{4, 1, 0, 2048}, {6, 2, 58 * 75 + 74, 2352}, {7, 2, 60 * 75, 2352}}));
    EXPECT_EQ(points(times[1]), (Rows{{11, 3, (62 * 75) + 3, 2352}, {13, 4, 75, 2448}}));
    EXPECT_EQ(times[0].TrackCount(), 2u);
    EXPECT_EQ(times[1].TrackCount(), 2u);

    // Without a FILE line every INDEX belongs to the one file the sheet will get.
    const std::vector<FileTimes> lone = IndexTimesByFile("TRACK 01 AUDIO\r\nINDEX 01 00:02:00\r\n", {});
    ASSERT_EQ(lone.size(), 1u);
    EXPECT_EQ(points(lone[0]), (Rows{{2, 1, 150, 2352}}));
    EXPECT_EQ(FormatFrames(333750), "74:10:00");
}

TEST(MoveRecord, RecordsRoundTripAnyBytesAndRefuseWhatIsNoRecord) {
    const std::vector<PlannedMove> moves = {
        {"/music/other.bin", "/games/disc.bin"}, {"/a b/\n12 x\xff.bin", "/c/\"d\".bin"}, {"", "/e"}};
    const std::optional<MoveRecord> back = DecodeMoveRecord(EncodeMoveRecord(moves));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Moves.size(), moves.size());
    for (std::size_t i = 0; i < moves.size(); ++i) {
        EXPECT_EQ(back->Moves[i].From, moves[i].From) << "move " << i;
        EXPECT_EQ(back->Moves[i].To, moves[i].To) << "move " << i;
    }
    EXPECT_EQ(EncodeMoveRecord({{"/a", "/bc"}}), "Velmora moves\n2 /a\n3 /bc\n");
    for (const char* broken :
         {"", "Velmora moves", "Velmora moves\n2 /a\n", "Velmora moves\n2 /a\n9 /bc\n",
          "Velmora moves\n2 /a\n3 /bcX", "Velmora moves\nx /a\n3 /bc\n",
          "Velmora moves\n18446744073709551615 /a\n3 /bc\n", "velmora moves\n2 /a\n3 /bc\n"}) {
        EXPECT_FALSE(DecodeMoveRecord(broken)) << broken;
    }
    EXPECT_TRUE(DecodeMoveRecord("Velmora moves\n")->Moves.empty());
}

TEST(MoveRecord, MarksAndTheSheetsDigestRoundTripAndAreReadOnlyWhereTheyBelong) {
    const MoveRecord record{{{"a", "b"}, {"c", "d"}}, {true, false}, SheetDigest("FILE \"x\" BINARY\r\n")};
    const std::string bytes = EncodeRecord(record);
    EXPECT_EQ(bytes, "Velmora moves\n1 a\n1 b\ndone\n1 c\n1 d\nsheet " + *record.Sheet + "\n");
    const std::optional<MoveRecord> back = DecodeMoveRecord(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Done, (std::vector<bool>{true, false}));
    EXPECT_EQ(back->Sheet, record.Sheet);
    EXPECT_EQ(SheetDigest("").size(), 16u);
    EXPECT_NE(SheetDigest("INDEX 01 00:02:05"), SheetDigest("INDEX 01 00:02:06"));
    for (const char* broken : {
             "Velmora moves\ndone\n",                             // a mark before any move
             "Velmora moves\n1 a\n1 b\ndone\ndone\n",             // marked twice
             "Velmora moves\nsheet 0123456789abcdef\n1 a\n1 b\n", // the digest not last
             "Velmora moves\nsheet 0123456789abcdef\nsheet 0123456789abcdef\n",
             "Velmora moves\nsheet 0123456789ABCDEF\n", // not our digits
             "Velmora moves\nsheet 0123456789abcde\n",  // too short
             "Velmora moves\nsheet 0123456789abcdef",   // no line end
             "Velmora moves\n1 a\n1 b\ndone",           // a cut mark
         }) {
        EXPECT_FALSE(DecodeMoveRecord(broken)) << broken;
    }
}

} // namespace
} // namespace velmora
