#include "cue/text/SheetEncoding.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SheetEncoding, DetectsTheEncodingOfASheet) {
    const std::pair<std::string, SheetEncoding> cases[] = {
        {"\xEF\xBB\xBFPERFORMER \"x\"", SheetEncoding::Utf8WithBom},
        {"PERFORMER \"plain ASCII\"", SheetEncoding::Utf8},
        {"", SheetEncoding::Utf8},
        {"TITLE \"J\xC3\xB3ga\"", SheetEncoding::Utf8},
        // "Björk", "Jóga" and "été" in Windows-1252: lone accented letters.
        {"PERFORMER \"Bj\xF6rk\"\r\nTITLE \"J\xF3ga \xE9t\xE9\"", SheetEncoding::Windows1252},
        // "Mötley Crüe": a lead byte of Shift-JIS followed by a letter, but no Japanese.
        {"PERFORMER \"M\xF6tley Cr\xFC"
         "e\"",
         SheetEncoding::Windows1252},
        // "Кино - Группа крови" in Windows-1251.
        {"TITLE \"\xCA\xE8\xED\xEE - \xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8\"",
         SheetEncoding::Windows1251},
        // "ファースト・ラヴ" in Shift-JIS.
        {"TITLE \"\x83\x74\x83\x40\x81\x5B\x83\x58\x83\x67\x81\x45\x83\x89\x83\x94\"",
         SheetEncoding::ShiftJis},
        // A cut double-byte character is no Shift-JIS.
        {"TITLE \"\x83\x74\x83\"", SheetEncoding::Windows1252},
    };
    for (const auto& [text, encoding] : cases) {
        EXPECT_EQ(DetectEncoding(text), encoding) << text;
    }
}

TEST(SheetEncoding, ConvertsNamesAndRefusesWhatAnEncodingCannotHold) {
    struct Case {
        std::string utf8;
        SheetEncoding encoding;
        std::optional<std::string> encoded;
    };
    const Case cases[] = {
        {"Björk.flac", SheetEncoding::Windows1252, "Bj\xF6rk.flac"},
        {"€uro.wav", SheetEncoding::Windows1252, "\x80uro.wav"},
        {"Кино.flac", SheetEncoding::Windows1251, "\xCA\xE8\xED\xEE.flac"},
        {"ラヴ.flac", SheetEncoding::ShiftJis, "\x83\x89\x83\x94.flac"},
        {"Кино.flac", SheetEncoding::Windows1252, std::nullopt},
        {"ラヴ.flac", SheetEncoding::Windows1251, std::nullopt},
        {"Björk.flac", SheetEncoding::Utf8, "Björk.flac"},
        {"Björk.flac", SheetEncoding::Utf8WithBom, "Björk.flac"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8 + " in " + EncodingName(c.encoding));
        EXPECT_EQ(EncodeFromUtf8(c.utf8, c.encoding), c.encoded);
        if (c.encoded) {
            EXPECT_EQ(DecodeToUtf8(*c.encoded, c.encoding), c.utf8);
        }
    }
    EXPECT_EQ(DecodeToUtf8("\xF6", SheetEncoding::Utf8), std::nullopt);
    EXPECT_EQ(DiskNameToUtf8("Bj\xF6rk.wav", SheetEncoding::Windows1252), "Björk.wav");
    EXPECT_EQ(DiskNameToUtf8("Björk.wav", SheetEncoding::Windows1251), "Björk.wav");
    EXPECT_EQ(DiskNameToUtf8("Bj\xF6rk.wav", SheetEncoding::Utf8), std::nullopt);
}

TEST(SheetEncoding, CaseFoldingFollowsUnicode) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"Track.WAV", "track.wav", true},
        {"ÄLBUM ÉTÉ.flac", "älbum été.flac", true},
        {"НОЧНЫЕ СНАЙПЕРЫ", "ночные снайперы", true},
        {"ΣΟΦΟΣ", "σοφος", true},
        {"ΣΟΦΟΣ", "σοφοσ", true},
        {"ＡＢＣ", "ａｂｃ", true},
        // Case never joins different letters, and Windows-1252's table is not what compares here:
        // "Ж" read as Windows-1252 bytes would differ from "ж" only in case.
        {"Жук", "жуки", false},
        {"Ж", "ж", true},
        {"track.wav", "track.wv", false},
        {"", "", true},
    };
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(EqualIgnoringCase(a, b), equal) << a << " / " << b;
    }
}

} // namespace
} // namespace velmora
