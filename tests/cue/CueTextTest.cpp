#include "cue/CueText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct MarkerCase {
    std::string marker;
    std::string text;
    std::string expected;
};

TEST(CueText, StripThrough) {
    const MarkerCase cases[] = {
        {".", ".mp3", "mp3"}, {".", "abc", ""},   {".", "a.b.c", "b.c"},  {"", "abc", ""},
        {".", "", ""},        {"abc", "abc", ""}, {"ab", "xxabyy", "yy"},
    };
    for (const MarkerCase& c : cases)
        EXPECT_EQ(StripThrough(c.marker, c.text), c.expected) << c.marker << " in " << c.text;
}

TEST(CueText, StripThroughLast) {
    const MarkerCase cases[] = {
        {".", "a.b.c", "c"},
        // One strip leaves "a", which no longer holds the marker.
        {"aa", "aaa", "a"},
        {"aa", "aaaa", ""},
        {".", "abc", ""},
        {".", ".mp3", "mp3"},
        {".", "x.", ""},
        {"", "a.b", ""},
    };
    for (const MarkerCase& c : cases)
        EXPECT_EQ(StripThroughLast(c.marker, c.text), c.expected) << c.marker << " in " << c.text;
}

TEST(CueText, TextBefore) {
    const MarkerCase cases[] = {
        {"TRACK", "xTRACK", "x"}, {"TRACK", "TRACK 01", ""}, {"TRACK", "no marker", ""},
        {"", "abc", ""},          {"b", "abcb", "a"},
    };
    for (const MarkerCase& c : cases)
        EXPECT_EQ(TextBefore(c.marker, c.text), c.expected) << c.marker << " in " << c.text;
}

TEST(CueText, TextAfter) {
    const MarkerCase cases[] = {
        {"INDEX 01 ", "    INDEX 01 00:02:00", "00:02:00"},
        // Absent marker: the text from the character whose position is the marker's length.
        {"INDEX 01 ", "    INDEX 01\t00:02:00", "X 01\t00:02:00"},
        {"index 01 ", "INDEX 01 00:00:00", " 00:00:00"},
        {"INDEX 01 ", "short", ""},
        {"", "whole text", "whole text"},
        {"a", "", ""},
        {"ab", "xaby", "y"},
        {"ab", "xab", ""},
    };
    for (const MarkerCase& c : cases)
        EXPECT_EQ(TextAfter(c.marker, c.text), c.expected) << c.marker << " in " << c.text;
}

TEST(CueText, TextBetween) {
    struct Case {
        std::string start, end, text, expected;
    };
    const Case cases[] = {
        {"FILE \"", "\"", "FILE \"a.mp3\" MP3", "a.mp3"},
        {"FILE \"", "\"", "FILE \"a.mp3 MP3", ""},
        // The end marker is only looked for after the start marker.
        {"[", "]", "] x [y] z", "y"},
        {"FILE \"", "TRACK", "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO", "a.wav\" WAVE\r\n  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextBetween(c.start, c.end, c.text), c.expected) << c.text;
}

TEST(CueText, ExtractField) {
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
        {"REM \"x\"\r\nFILE \" disc.bin \" BINARY", '"', 1, "x"},
        {"FILE \" disc.bin \" BINARY", '"', 1, "disc.bin"},
        {"FILE \"open", '"', 1, "open"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractField(c.text, c.delimiter, c.n), c.expected) << c.text << " field " << c.n;
}

TEST(CueText, Trim) {
    const std::pair<std::string, std::string> cases[] = {
        {"  a b \t\r\n", "a b"},
        {std::string("\x01\x1f x \x20", 5), "x"},
        {" \t\r\n", ""},
        {"", ""},
        // Bytes above 127 are characters, not blanks.
        {"\xa0x\xa0", "\xa0x\xa0"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Trim(text), expected) << text;
}

TEST(CueText, ReplaceAllIgnoreCase) {
    struct Case {
        std::string text, oldText, newText, expected;
    };
    const Case cases[] = {
        {"WAVE Microwave", "wave", "MP3", "MP3 MicroMP3"},
        {"aaaaa", "aa", "b", "bba"},
        {"abc", "", "x", "abc"},
        {"", "a", "x", ""},
        // The inserted text is never searched again.
        {"ab", "a", "aa", "aab"},
        {"Track.WAV track.wav", "TRACK.wav", "x.mp3", "x.mp3 x.mp3"},
        // Windows-1252 letters compare without regard to case too.
        {"\xe9t\xe9 \xc9T\xc9", "\xc9t\xe9", "summer", "summer summer"},
        {"\x9a\x8a", "\x8a", "S", "SS"},
        {"\xff", "\x9f", "Y", "Y"},
        // Division and multiplication signs are no letters.
        {"\xf7", "\xd7", "x", "\xf7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAllIgnoreCase(c.text, c.oldText, c.newText), c.expected) << c.text;
}

TEST(CueText, UpperCase1252KeepsNonLetters) {
    const std::pair<char, char> cases[] = {
        {'a', 'A'},       {'z', 'Z'},       {'A', 'A'},       {'1', '1'},
        {'\xe0', '\xc0'}, {'\xfe', '\xde'}, {'\xf7', '\xf7'}, {'\xdf', '\xdf'},
        {'\x9c', '\x8c'}, {'\x9e', '\x8e'}, {'\xb5', '\xb5'},
    };
    for (const auto& [c, expected] : cases)
        EXPECT_EQ(UpperCase1252(c), expected) << static_cast<int>(static_cast<unsigned char>(c));
}

} // namespace
} // namespace velmora
