// Sheets as rippers write them in the encodings people use, each naming a file that lies beside it under
// its Unicode name; the sheets are made by the system's own converter, independently of the engine.
#include "../cue/TestSupport.h"
#include "../messages/ScopedLanguage.h"
#include "EncodedText.h"
#include "RunVelmoraFix.h"
#include "messages/Messages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

using velmora::testkit::FolderEntries;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

std::string Sheet(const std::string& performer, const std::string& title, const std::string& file,
                  const std::string& time) {
    return "REM GENRE Pop\r\nPERFORMER \"" + performer + "\"\r\nTITLE \"" + title + "\"\r\nFILE \"" + file +
           "\" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE \"" + title + "\"\r\n    INDEX 01 " + time + "\r\n";
}

TEST(SheetEncodings, EverySheetFindsItsFileAndKeepsItsEncoding) {
    struct Case {
        std::string encoding, performer, title, file;
    };
    const Case cases[] = {
        {"CP1252", "Dido", "Life for Rent", "It’s Over – Live.wav"},
        {"ISO-8859-1", "Beyoncé", "Café del Mar", "01 - Été à Paris.wav"},
        {"CP1251", "Кино", "Группа крови", "Кино - Группа крови.wav"},
        {"SHIFT_JIS", "宇多田ヒカル", "ファースト・ラヴ", "宇多田ヒカル - ファースト・ラヴ.wav"},
        // Korean's Windows code page reads these pairs too.
        {"SHIFT_JIS", "東京", "東京", "東京.wav"},
        {"SHIFT_JIS", "ドラえもん", "ドラえもん", "ドラえもん.wav"},
        {"GB18030", "周杰伦", "七里香", "周杰伦 - 七里香.wav"},
        {"BIG5", "周杰倫", "七里香", "周杰倫 - 七里香.wav"},
        {"EUC-KR", "아이유", "좋은 날", "아이유 - 좋은 날.wav"},
        {"UTF-8", "Björk", "Homogenic", "Björk - Jóga.wav"},
        {"UTF-8+BOM", "Sigur Rós", "Ágætis byrjun", "Sigur Rós - Svefn-g-englar.wav"},
        {"UTF-16LE+BOM", "Ночные Снайперы", "Рубеж", "Ночные Снайперы - Рубеж.wav"},
        {"UTF-16BE+BOM", "Mötley Crüe", "Dr. Feelgood", "Mötley Crüe - Kickstart.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        TempFolder folder;
        TempFolder scratch;
        WriteFile(folder / c.file, "");
        const std::string good =
            Encoded(Sheet(c.performer, c.title, c.file, "00:02:05"), c.encoding, scratch);
        WriteFile(folder / "good.cue", good);
        const std::string carried =
            Encoded(Sheet(c.performer, c.title, c.file, "0:1:80"), c.encoding, scratch);
        WriteFile(folder / "carried.cue", carried);

        const Finished finished = RunVelmoraFix(folder.Path(), "good.cue carried.cue");
        EXPECT_EQ(finished.status, 0);
        EXPECT_EQ(finished.out, "good.cue => GOOD\ncarried.cue => CORRECTED\n");
        EXPECT_EQ(ReadFile(folder / "good.cue"), good);
        EXPECT_EQ(ReadFile(folder / "carried.cue"), good);
        EXPECT_EQ(ReadFile(folder / "carried.cue.bak"), carried);
        EXPECT_FALSE(std::filesystem::exists(folder / "good.cue.bak"));
    }
}

TEST(SheetEncodings, AChosenNameIsWrittenInTheSheetsEncoding) {
    struct Case {
        std::string encoding, performer, title, chosen;
    };
    const Case cases[] = {
        {"CP1252", "Beyoncé", "Greatest Hits", "Don’t Stop – Remastered.flac"},
        {"SHIFT_JIS", "宇多田ヒカル", "ファースト・ラヴ", "ファースト・ラヴ.flac"},
        {"UTF-16LE+BOM", "Кино", "Группа крови", "Рубеж.flac"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        TempFolder folder;
        TempFolder scratch;
        WriteFile(folder / c.chosen, "");
        WriteFile(folder / "album.cue",
                  Encoded(Sheet(c.performer, c.title, "missing.wav", "00:00:00"), c.encoding, scratch));
        const Finished finished = RunVelmoraFix(folder.Path(), "--auto album.cue");
        EXPECT_EQ(finished.out, "album.cue => CORRECTED\n");
        EXPECT_EQ(ReadFile(folder / "album.cue"),
                  Encoded(Sheet(c.performer, c.title, c.chosen, "00:00:00"), c.encoding, scratch));
    }
}

// A short sheet whose named file is nowhere: its bytes could be Shift-JIS or Korean, and a misread name
// would be written or moved under. Nothing is, until the user says the encoding.
TEST(SheetEncodings, ASheetWhoseEncodingCannotBeToldIsLeftAloneUntilTheUserSaysIt) {
    const ScopedLanguage english(kEnglishMessages);
    TempFolder folder;
    TempFolder scratch;
    const std::string sheet = Encoded(Sheet("x", "y", "東京.wav", "00:00:00"), "SHIFT_JIS", scratch);
    WriteFile(folder / "tokyo.cue", sheet);
    WriteFile(folder / "Tokyo Live.flac", "");
    const Finished unsure = RunVelmoraFix(folder.Path(), "--auto --verbose tokyo.cue");
    EXPECT_EQ(unsure.status, 1);
    EXPECT_EQ(unsure.out, "tokyo.cue => BAD\n");
    EXPECT_NE(unsure.err.find("cannot tell the sheet's encoding"), std::string::npos) << unsure.err;
    EXPECT_EQ(ReadFile(folder / "tokyo.cue"), sheet);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Tokyo Live.flac", "tokyo.cue"}));

    const Finished told =
        RunVelmoraFix(folder.Path(), "--encoding Shift-JIS --audio \"Tokyo Live.flac\" tokyo.cue");
    EXPECT_EQ(told.out, "tokyo.cue => CORRECTED\n");
    EXPECT_EQ(ReadFile(folder / "tokyo.cue"),
              Encoded(Sheet("x", "y", "Tokyo Live.flac", "00:00:00"), "SHIFT_JIS", scratch));
    EXPECT_EQ(ReadFile(folder / "tokyo.cue.bak"), sheet);
}

// The detector's library is opened only when a sheet needs it; without it such sheets are read without
// detection (the names beside them still count), the run says why, and nothing is lost.
TEST(SheetEncodings, WithoutTheDetectorsLibraryASheetIsReadWithoutItAndTheRunSaysSo) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows detects code pages itself and loads no detector library";
#endif
    struct Case {
        std::string encoding, performer, file, row;
        bool says;
    };
    const Case cases[] = {
        // The names of the files beside them still tell these code pages.
        {"CP1251", "Кино", "Кино - Группа крови.wav", "GOOD", true},
        {"SHIFT_JIS", "宇多田ヒカル", "宇多田ヒカル.wav", "GOOD", true},
        {"CP1252", "Dido", "It’s Over – Live.wav", "GOOD", true},
        // A UTF-8 sheet never asks for the detector.
        {"UTF-8", "Björk", "Björk - Jóga.wav", "GOOD", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        TempFolder folder;
        TempFolder scratch;
        WriteFile(folder / c.file, "");
        const std::string sheet = Encoded(Sheet(c.performer, "t", c.file, "00:02:05"), c.encoding, scratch);
        WriteFile(folder / "a.cue", sheet);
        const Finished finished =
            RunVelmoraFix(folder.Path(), "a.cue", "VELMORA_UCHARDET=/nonexistent/libnodetector.so.0");
        EXPECT_EQ(finished.status, c.row == "GOOD" ? 0 : 1) << finished.err;
        EXPECT_EQ(finished.out, "a.cue => " + c.row + "\n");
        const std::size_t said = finished.err.find("\"/nonexistent/libnodetector.so.0\"");
        EXPECT_EQ(said != std::string::npos, c.says) << finished.err;
        EXPECT_EQ(ReadFile(folder / "a.cue"), sheet);
    }
}

TEST(SheetEncodings, AFileTooLargeForASheetIsRefusedUnread) {
    TempFolder folder;
    {
        std::FILE* big = std::fopen((folder / "huge.cue").c_str(), "wb");
        ASSERT_NE(big, nullptr);
        std::fputs("PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\nTRACK 01 AUDIO\r\n", big);
        std::fseek(big, 17 << 20, SEEK_SET);
        std::fputs("INDEX 01 0:0:0\r\n", big);
        std::fclose(big);
    }
    const std::uintmax_t size = std::filesystem::file_size(folder / "huge.cue");
    const Finished finished = RunVelmoraFix(folder.Path(), "huge.cue");
    EXPECT_EQ(finished.status, 2);
    EXPECT_EQ(finished.err, "velmora-fix: huge.cue: Impossible d'ouvrir le fichier \"" +
                                (folder / "huge.cue") + "\". " + SystemErrorText(EFBIG) + ".\n");
    EXPECT_EQ(std::filesystem::file_size(folder / "huge.cue"), size);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"huge.cue"});
}

} // namespace
} // namespace velmora::fix
