#include "text/CaseFolding.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace velmora {
namespace {

TEST(CaseFolding, ReplaceAllIgnoreCaseUsesTheWindows1252Letters) {
    const std::array<std::string, 4> cases[] = {
        {"WAVE Microwave", "wave", "MP3", "MP3 MicroMP3"},
        {"aaaaa", "aa", "b", "bba"},
        {"abc", "", "x", "abc"},
        {"", "a", "x", ""},
        // The inserted text is never searched again.
        {"ab", "a", "aa", "aab"},
        {"Track.WAV track.wav", "TRACK.wav", "x.mp3", "x.mp3 x.mp3"},
        {"\x9a\x8a", "\x8a", "S", "SS"},
        {"\xe9t\xe9 \xc9T\xc9", "\xc9t\xe9", "summer", "summer summer"},
        {"\x9a\x9c\x9e\xff", "\x8a\x8c\x8e\x9f", "!", "!"},
        // Division sign and multiplication sign are no letters; neither is sharp s.
        {"\xf7\xdf", "\xd7\xdf", "x", "\xf7\xdf"},
    };
    for (const auto& [text, oldText, newText, expected] : cases) {
        EXPECT_EQ(ReplaceAllIgnoreCase(text, oldText, newText), expected) << text;
    }
}

TEST(CaseFolding, UpperCase1252KeepsNonLetters) {
    const std::pair<char, char> cases[] = {
        {'a', 'A'},       {'z', 'Z'},       {'A', 'A'},       {'1', '1'},
        {'\xe0', '\xc0'}, {'\xfe', '\xde'}, {'\xf7', '\xf7'}, {'\xdf', '\xdf'},
        {'\x9c', '\x8c'}, {'\x9e', '\x8e'}, {'\xb5', '\xb5'},
    };
    for (const auto& [c, expected] : cases) {
        EXPECT_EQ(UpperCase1252(c), expected) << static_cast<int>(static_cast<unsigned char>(c));
    }
}

TEST(CaseFolding, LowerCase1252UndoesEveryUpperCasePair) {
    const std::pair<char, char> cases[] = {
        {'A', 'a'},       {'Z', 'z'},       {'a', 'a'},       {'@', '@'},       {'[', '['},
        {'\xc0', '\xe0'}, {'\xde', '\xfe'}, {'\xd7', '\xd7'}, {'\xdf', '\xdf'}, {'\x8a', '\x9a'},
        {'\x8c', '\x9c'}, {'\x8e', '\x9e'}, {'\x9f', '\xff'}, {'\xb5', '\xb5'},
    };
    for (const auto& [c, expected] : cases) {
        EXPECT_EQ(LowerCase1252(c), expected) << static_cast<int>(static_cast<unsigned char>(c));
    }
    // Every byte that upper case changes is a letter whose upper case lowers back to it.
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        if (UpperCase1252(c) != c) {
            EXPECT_EQ(LowerCase1252(UpperCase1252(c)), c) << code;
        }
    }
}

TEST(CaseFolding, ReplaceAllIgnoreCaseFindsMarkupTagsInAnyCase) {
    const std::array<std::string, 4> cases[] = {
        {"a<br>b<BR>c<Br>", "<BR>", "\r\n", "a\r\nb\r\nc\r\n"},
        {"<B", "<BR>", "\r\n", "<B"},
        {"<HR><hr>", "<HR>", "-", "--"},
    };
    for (const auto& [text, oldText, newText, expected] : cases) {
        EXPECT_EQ(ReplaceAllIgnoreCase(text, oldText, newText), expected) << text;
    }
}

} // namespace
} // namespace velmora
