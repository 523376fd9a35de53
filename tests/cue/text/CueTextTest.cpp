#include "cue/text/CueText.h"

#include <array>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using MarkerRoutine = std::string (*)(std::string_view, std::string_view);

TEST(CueText, MarkerRoutinesFollowThePositionalRules) {
    struct Case {
        const char* routine;
        MarkerRoutine run;
        std::string marker, text, expected;
    };
    const Case cases[] = {
        {"StripThrough", StripThrough, ".", ".mp3", "mp3"},
        {"StripThrough", StripThrough, ".", "a.b.c", "b.c"},
        {"StripThrough", StripThrough, ".", "abc", ""},
        {"StripThrough", StripThrough, "", "abc", ""},
        {"StripThrough", StripThrough, ".", "", ""},
        {"StripThrough", StripThrough, "abc", "abc", ""},
        {"StripThrough", StripThrough, "ab", "xxabyy", "yy"},
        {"StripThroughLast", StripThroughLast, ".", "a.b.c", "c"},
        // One strip leaves "a", which no longer holds the marker.
        {"StripThroughLast", StripThroughLast, "aa", "aaa", "a"},
        {"StripThroughLast", StripThroughLast, ".", "abc", ""},
        {"StripThroughLast", StripThroughLast, "aa", "aaaa", ""},
        {"StripThroughLast", StripThroughLast, ".", ".mp3", "mp3"},
        {"StripThroughLast", StripThroughLast, ".", "x.", ""},
        {"StripThroughLast", StripThroughLast, "", "a.b", ""},
        {"TextBefore", TextBefore, "TRACK", "xTRACK", "x"},
        {"TextBefore", TextBefore, "TRACK", "TRACK 01", ""},
        {"TextBefore", TextBefore, "TRACK", "none", ""},
        {"TextBefore", TextBefore, "", "abc", ""},
        {"TextBefore", TextBefore, "b", "abcb", "a"},
        {"TextAfter", TextAfter, "INDEX 01 ", "    INDEX 01 00:02:00", "00:02:00"},
        // An absent marker: the text from the character whose position is the marker's length.
        {"TextAfter", TextAfter, "INDEX 01 ", "    INDEX 01\t00:02:00", "X 01\t00:02:00"},
        {"TextAfter", TextAfter, "index 01 ", "INDEX 01 00:00:00", " 00:00:00"},
        {"TextAfter", TextAfter, "INDEX 01 ", "short", ""},
        {"TextAfter", TextAfter, "", "whole", "whole"},
        {"TextAfter", TextAfter, "ab", "xab", ""},
        {"TextAfter", TextAfter, "a", "", ""},
        {"TextAfter", TextAfter, "ab", "xaby", "y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(c.marker, c.text), c.expected)
            << c.routine << "(" << c.marker << ", " << c.text << ")";
    }
}

TEST(CueText, TextBetweenLooksForTheEndOnlyAfterTheStart) {
    const std::array<std::string, 4> cases[] = {
        {"FILE \"", "\"", "FILE \"a.mp3\" MP3", "a.mp3"},
        {"FILE \"", "\"", "FILE \"a.mp3 MP3", ""},
        {"[", "]", "] x [y] z", "y"},
        {"FILE \"", "TRACK", "FILE \"a.wav\" WAVE\r\n  TRACK 01", "a.wav\" WAVE\r\n  "},
    };
    for (const auto& [start, end, text, expected] : cases) {
        EXPECT_EQ(TextBetween(start, end, text), expected) << text;
    }
}

TEST(CueText, ExtractFieldAndTrim) {
    struct Case {
        std::string text;
        char delimiter;
        int n;
        std::string expected;
    };
    const Case cases[] = {
        {" 01 : 02 :03 ", ':', 0, "01"},
        {" 01 : 02 :03 ", ':', 1, "02"},
        {" 01 : 02 :03 ", ':', 2, "03"},
        {" 01 : 02 :03 ", ':', 3, ""},
        {"a::b", ':', 1, ""},
        {"a::b", ':', 2, "b"},
        {"", ':', 0, ""},
        {"", ':', 2, ""},
        {"abc", ':', 0, "abc"},
        {"a:b", ':', -1, ""},
        {"FILE \"open", '"', 1, "open"},
        {"REM \"x\"\r\nFILE \" d.bin \" BINARY", '"', 1, "x"},
        {"FILE \" disc.bin \" BINARY", '"', 1, "disc.bin"},
        // Every code up to 32 is a blank; bytes above 127 are characters.
        {"\x01\x1f x\t\r\n", ':', 0, "x"},
        {"\xa0x\xa0", ':', 0, "\xa0x\xa0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractField(c.text, c.delimiter, c.n), c.expected) << c.text << " field " << c.n;
    }
}

TEST(CueText, TrimRemovesEveryCodeUpTo32AtBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"  a b \t\r\n", "a b"},
        {std::string("\x01\x1f x \x20", 5), "x"},
        {" \t\r\n", ""},
        {"", ""},
        // Bytes above 127 are characters, not blanks.
        {"\xa0x\xa0", "\xa0x\xa0"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Trim(text), expected) << text;
    }
}

} // namespace
} // namespace velmora
