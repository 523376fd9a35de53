#include "cue/CueText.h"

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
        {"StripThroughLast", StripThroughLast, ".", "a.b.c", "c"},
        // One strip leaves "a", which no longer holds the marker.
        {"StripThroughLast", StripThroughLast, "aa", "aaa", "a"},
        {"StripThroughLast", StripThroughLast, ".", "abc", ""},
        {"TextBefore", TextBefore, "TRACK", "xTRACK", "x"},
        {"TextBefore", TextBefore, "TRACK", "TRACK 01", ""},
        {"TextBefore", TextBefore, "TRACK", "none", ""},
        {"TextBefore", TextBefore, "", "abc", ""},
        {"TextAfter", TextAfter, "INDEX 01 ", "    INDEX 01 00:02:00", "00:02:00"},
        // An absent marker: the text from the character whose position is the marker's length.
        {"TextAfter", TextAfter, "INDEX 01 ", "    INDEX 01\t00:02:00", "X 01\t00:02:00"},
        {"TextAfter", TextAfter, "index 01 ", "INDEX 01 00:00:00", " 00:00:00"},
        {"TextAfter", TextAfter, "INDEX 01 ", "short", ""},
        {"TextAfter", TextAfter, "", "whole", "whole"},
        {"TextAfter", TextAfter, "ab", "xab", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.run(c.marker, c.text), c.expected)
            << c.routine << "(" << c.marker << ", " << c.text << ")";
}

TEST(CueText, TextBetweenLooksForTheEndOnlyAfterTheStart) {
    const std::array<std::string, 4> cases[] = {
        {"FILE \"", "\"", "FILE \"a.mp3\" MP3", "a.mp3"},
        {"FILE \"", "\"", "FILE \"a.mp3 MP3", ""},
        {"[", "]", "] x [y] z", "y"},
        {"FILE \"", "TRACK", "FILE \"a.wav\" WAVE\r\n  TRACK 01", "a.wav\" WAVE\r\n  "},
    };
    for (const auto& [start, end, text, expected] : cases)
        EXPECT_EQ(TextBetween(start, end, text), expected) << text;
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
        {" 01 : 02 :03 ", ':', 2, "03"},
        {" 01 : 02 :03 ", ':', 3, ""},
        {"a::b", ':', 1, ""},
        {"a::b", ':', 2, "b"},
        {"", ':', 0, ""},
        {"a:b", ':', -1, ""},
        {"FILE \"open", '"', 1, "open"},
        {"REM \"x\"\r\nFILE \" d.bin \" BINARY", '"', 1, "x"},
        // Every code up to 32 is a blank; bytes above 127 are characters.
        {"\x01\x1f x\t\r\n", ':', 0, "x"},
        {"\xa0x\xa0", ':', 0, "\xa0x\xa0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractField(c.text, c.delimiter, c.n), c.expected) << c.text << " field " << c.n;
}

TEST(CueText, ReplaceAllIgnoreCaseUsesTheWindows1252Letters) {
    const std::array<std::string, 4> cases[] = {
        {"WAVE Microwave", "wave", "MP3", "MP3 MicroMP3"},
        {"aaaaa", "aa", "b", "bba"},
        {"abc", "", "x", "abc"},
        {"ab", "a", "aa", "aab"},
        {"\xe9t\xe9 \xc9T\xc9", "\xc9t\xe9", "summer", "summer summer"},
        {"\x9a\x9c\x9e\xff", "\x8a\x8c\x8e\x9f", "!", "!"},
        // Division sign and multiplication sign are no letters; neither is sharp s.
        {"\xf7\xdf", "\xd7\xdf", "x", "\xf7\xdf"},
    };
    for (const auto& [text, oldText, newText, expected] : cases)
        EXPECT_EQ(ReplaceAllIgnoreCase(text, oldText, newText), expected) << text;
}

} // namespace
} // namespace velmora
