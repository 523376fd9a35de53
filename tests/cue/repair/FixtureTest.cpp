#include "../../messages/ScopedLanguage.h"
#include "tests/cue/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::kWindowsFileNames;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::TempFolder;
using testkit::WriteFile;

// Each fixture is a sheet in tests/data/cue with the sheet expected after the repair beside it
// (<name>.expected.cue). The files listed lie beside the sheet; a single candidate of the best rule is
// taken, as velmora-fix --auto does, and every other chooser is cancelled.
struct Fixture {
    std::string name;
    std::string row; // empty when the run adds none
    std::string error;
    std::vector<std::string> presentFiles;
    // Files beside the sheet afterwards, the sheet and its backup left out; empty means as before.
    std::vector<std::string> filesAfter;
    // Where names are found in any letter case (Windows), a sheet whose repair only fixes case stays as
    // it is and nothing moves: its row there ("" for none) when it differs.
    std::optional<std::string> rowIgnoringCase = std::nullopt;
    // Part of what the row's tool tip says.
    std::string reason = "";
    // Some presentFiles are named in a code page's bytes, which Windows names cannot be.
    bool bytesNames = false;
};

void RunFixture(const Fixture& fixture) {
    SCOPED_TRACE(fixture.name);
    if (fixture.bytesNames && kWindowsFileNames) {
        return;
    }
    TempFolder folder;
    const std::string source = std::string(VELMORA_TEST_DATA) + "/" + fixture.name;
    const std::string sheet = folder / (fixture.name + ".cue");
    std::filesystem::copy_file(source + ".cue", sheet);
    for (const std::string& present : fixture.presentFiles) {
        WriteFile(folder / present, present);
    }

    RecordingHost host;
    host.animates = false;
    host.takeSingleCandidate = true;
    RepairState state;
    state.CuePath = sheet;
    std::string error;
    try {
        traitementCUE(state, host);
    } catch (const Error& failure) {
        error = failure.what();
    }

    const bool asItIs = fixture.rowIgnoringCase && kWindowsFileNames;
    const std::string row = asItIs ? *fixture.rowIgnoringCase : fixture.row;
    EXPECT_EQ(error, fixture.error);
    EXPECT_EQ(host.rows.size(), row.empty() ? 0u : 1u);
    if (!row.empty() && !host.rows.empty()) {
        EXPECT_EQ(host.rows[0].Caption, row);
    }
    if (!fixture.reason.empty() && !host.reports.empty()) {
        EXPECT_NE(RowReasonsText(host.reports[0]).find(fixture.reason), std::string::npos)
            << RowReasonsText(host.reports[0]);
    }
    EXPECT_EQ(ReadFile(sheet), ReadFile(source + (asItIs ? ".cue" : ".expected.cue")));
    std::vector<std::string> after =
        fixture.filesAfter.empty() || asItIs ? fixture.presentFiles : fixture.filesAfter;
    after.push_back(fixture.name + ".cue");
    // The backup and the record of moves are checked by the run tests; here only what was moved
    // counts.
    std::vector<std::string> entries = FolderEntries(folder.Path());
    std::erase(entries, fixture.name + ".cue.bak");
    std::erase(entries, fixture.name + ".cue.moves");
    std::sort(after.begin(), after.end());
    EXPECT_EQ(entries, after);
    // A sheet that stays as it was leaves no backup.
    const bool unchanged = ReadFile(sheet) == ReadFile(source + ".cue");
    EXPECT_EQ(std::filesystem::exists(sheet + ".bak"), !unchanged);
}

TEST(Fixtures, RepairToTheirExpectedSheetsAndRows) {
    const Fixture fixtures[] = {
        {"lf_only", "lf_only.cue => CORRECTED", "", {"Album.flac"}, {}},
        {"valid_frames", "valid_frames.cue => GOOD", "", {"Live.wav"}, {}},
        {"carries", "carries.cue => CORRECTED", "", {"Long.mp3"}, {}},
        {"negative_field", "", "'-5' n'est pas une valeur entière correcte", {"Signs.wav"}, {}},
        // An unquoted name in a lower-case FILE line, gaps and every index carried, tabs and text kept.
        {"bare_name_and_gaps", "bare_name_and_gaps.cue => CORRECTED", "", {"track01.wav"}, {}},
        {"shared_times", "shared_times.cue => CORRECTED", "", {"Mix.wav"}, {}},
        {"quoted_before_file", "quoted_before_file.cue => GOOD", "", {"Real Name.wav"}, {}},
        {"missing_audio", "missing_audio.cue => BAD", "", {}, {}},
        {"win1251_wav_to_flac", "win1251_wav_to_flac.cue => CORRECTED", "", {"Кино - Группа крови.flac"}, {}},
        {"shiftjis_wav_to_flac", "shiftjis_wav_to_flac.cue => CORRECTED", "", {"ファースト・ラヴ.flac"}, {}},
        {"utf8_bom_case",
         "utf8_bom_case.cue => CORRECTED",
         "",
         {"björk - homogenic.wav"},
         {},
         "utf8_bom_case.cue => GOOD"},
        {"utf8_unicode_case",
         "utf8_unicode_case.cue => CORRECTED",
         "",
         {"Ночные Снайперы - Рубеж.flac"},
         {},
         "utf8_unicode_case.cue => GOOD"},
        {"cr_only", "cr_only.cue => GOOD", "", {"Old Mac.wav"}, {}},
        {"seconds_past_sixty", "seconds_past_sixty.cue => CORRECTED", "", {"Overflow.mp3"}, {}},
        {"long_valid_time", "long_valid_time.cue => GOOD", "", {"Long Mix.wav"}, {}},
        {"minutes_seconds_only", "", "'' n'est pas une valeur entière correcte", {"No Frames.mp3"}, {}},
        {"flac_type_present", "flac_type_present.cue => GOOD", "", {"Lossless.flac"}, {}},
        {"missing_type", "missing_type.cue => CORRECTED", "", {"Typeless.flac"}, {}},
        {"eac_multifile_hidden_track",
         "eac_multifile_hidden_track.cue => CORRECTED",
         "",
         {"00 - Band - Hidden Track.flac", "01 - Band - First.flac", "02 - Band - Second.flac",
          "03 - Band - Third.flac"},
         {}},
        {"multibin_case",
         "multibin_case.cue => CORRECTED",
         "",
         {"Game (Track 1).bin", "game (track 2).BIN", "GAME (TRACK 3).bin"},
         {"Game (Track 1).bin", "Game (Track 2).bin", "Game (Track 3).bin"},
         "multibin_case.cue => GOOD"},
        {"multibin_missing",
         "multibin_missing.cue => BAD",
         "",
         {"Game (Track 1).bin", "Game (Track 2).BIN"},
         {"Game (Track 1).bin", "Game (Track 2).bin"},
         // Nothing to move before the missing third: cancelled, no row.
         ""},
        {"image_case",
         "image_case.cue => CORRECTED",
         "",
         {"disc.BIN"},
         {"Disc.bin"},
         "image_case.cue => GOOD"},
        {"wav_to_flac", "wav_to_flac.cue => CORRECTED", "", {"Album.flac", "Album.log", "cover.jpg"}, {}},
        {"double_extension", "double_extension.cue => CORRECTED", "", {"Album.wav.flac"}, {}},
        {"sheet_base_name", "sheet_base_name.cue => CORRECTED", "", {"sheet_base_name.ape", "notes.txt"}, {}},
        {"only_file_of_kind",
         "only_file_of_kind.cue => CORRECTED",
         "",
         {"Band - Album.m4a", "folder.jpg"},
         {}},
        {"two_equal_candidates", "two_equal_candidates.cue => BAD", "", {"CDImage.flac", "CDImage.ape"}, {}},
        // Near-names are never taken on their own.
        {"near_name_only", "near_name_only.cue => BAD", "", {"CDImage1.wav", "CDImag.flac"}, {}},
    };
    for (const Fixture& fixture : fixtures) {
        RunFixture(fixture);
    }
}

// Each encoding, short (only the FILE name outside ASCII, where the detector guesses) and long; the file
// on disk named in UTF-8 or in the sheet's own bytes.
TEST(Fixtures, EverySheetIsReadInItsOwnEncoding) {
    const ScopedLanguage english(kEnglishMessages);
    const Fixture fixtures[] = {
        {"enc_sjis_image_short", "enc_sjis_image_short.cue => GOOD", "", {"ゲーム.bin"}, {}},
        {"enc_sjis_image_own_bytes",
         "enc_sjis_image_own_bytes.cue => GOOD",
         "",
         {"\x83\x51\x81\x5B\x83\x80.bin"},
         {},
         std::nullopt,
         "",
         true},
        {"enc_gb18030_ripper_short",
         "enc_gb18030_ripper_short.cue => GOOD",
         "",
         {"歌声伴随你 - 第24集.wav"},
         {}},
        {"enc_big5_other_extension_short",
         "enc_big5_other_extension_short.cue => CORRECTED",
         "",
         {"周杰倫 - 七里香.flac"},
         {}},
        {"enc_euckr_carry_short", "enc_euckr_carry_short.cue => CORRECTED", "", {"아이유 - 좋은 날.wav"}, {}},
        // Pairs that Korean's Windows code page reads too.
        {"enc_sjis_tokyo_short", "enc_sjis_tokyo_short.cue => GOOD", "", {"東京.wav"}, {}},
        {"enc_sjis_doraemon_short", "enc_sjis_doraemon_short.cue => GOOD", "", {"ドラえもん.wav"}, {}},
        {"enc_sjis_nothing_present",
         "enc_sjis_nothing_present.cue => BAD",
         "",
         {"other.flac"},
         {},
         std::nullopt,
         "cannot tell the sheet's encoding"},
        {"enc_cp1252_ascii_name_short",
         "enc_cp1252_ascii_name_short.cue => CORRECTED",
         "",
         {"Bjork.flac"},
         {}},
        {"enc_cp1252_other_extension_short",
         "enc_cp1252_other_extension_short.cue => CORRECTED",
         "",
         {"Björk - Jóga.flac"},
         {}},
        {"enc_utf8_stray_byte", "enc_utf8_stray_byte.cue => CORRECTED", "", {"Björk - Jóga.flac"}, {}},
        {"enc_sjis_long", "enc_sjis_long.cue => CORRECTED", "", {"宇多田ヒカル - ファースト・ラヴ.wav"}, {}},
        {"enc_gb18030_long", "enc_gb18030_long.cue => CORRECTED", "", {"周杰伦 - 七里香.wav"}, {}},
        {"enc_big5_long", "enc_big5_long.cue => CORRECTED", "", {"周杰倫 - 七里香.wav"}, {}},
        {"enc_euckr_long", "enc_euckr_long.cue => CORRECTED", "", {"아이유 - 좋은 날.wav"}, {}},
        {"enc_cp1251_long", "enc_cp1251_long.cue => CORRECTED", "", {"Кино - Группа крови.wav"}, {}},
        {"enc_cp1252_long", "enc_cp1252_long.cue => CORRECTED", "", {"Beyoncé - Été à Paris.wav"}, {}},
    };
    for (const Fixture& fixture : fixtures) {
        RunFixture(fixture);
    }
}

TEST(Fixtures, SheetsKeepTheirOwnLineBreaks) {
    const Fixture fixtures[] = {
        {"ends_lf_good", "ends_lf_good.cue => GOOD", "", {"Track.wav"}, {}},
        {"ends_mixed", "ends_mixed.cue => CORRECTED", "", {"Album.wav"}, {}},
        {"ends_lf_image_moved", "ends_lf_image_moved.cue => CORRECTED", "", {"Other.bin"}, {"Game.bin"}},
    };
    for (const Fixture& fixture : fixtures) {
        RunFixture(fixture);
    }
}

// Paths written on another machine, to an image that already lies beside the sheet.
TEST(Fixtures, AFarPathToAnImageBesideTheSheetNamesItThere) {
    const Fixture fixtures[] = {
        {"path_drive_image", "path_drive_image.cue => CORRECTED", "", {"game.bin"}, {}},
        {"path_parent_image", "path_parent_image.cue => CORRECTED", "", {"game.bin"}, {}},
        // The sheet itself is never taken for the image it names.
        {"path_drive_names_sheet", "", "", {}, {}},
    };
    for (const Fixture& fixture : fixtures) {
        RunFixture(fixture);
    }
}

TEST(Fixtures, RippersSheetsAndRepeatedNames) {
    const Fixture fixtures[] = {
        {"same_name_twice", "same_name_twice.cue => CORRECTED", "", {"some file 1.flac", "other.mp3"}, {}},
        {"ripper_wave_renamed", "ripper_wave_renamed.cue => CORRECTED", "", {"data.flac"}, {}},
        {"ripper_mp3_times", "ripper_mp3_times.cue => CORRECTED", "", {"Range.MP3"}, {}},
        // An image sheet with audio tracks stays an image sheet: its times are its own.
        {"ripper_binary_stays_image", "ripper_binary_stays_image.cue => GOOD", "", {"disc.bin"}, {}},
    };
    for (const Fixture& fixture : fixtures) {
        RunFixture(fixture);
    }
}

} // namespace
} // namespace velmora
