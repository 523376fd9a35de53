#include "text/Utf8Sequences.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

TEST(Utf8Sequences, OnlyAWholeShortestSequenceHasALength) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"\xC3\xA9", 2},         // é
        {"\xC3\xA9z", 2},        // what follows is not counted
        {"\xE2\x82\xAC", 3},     // €
        {"\xF0\x9F\x8E\xB5", 4}, // a musical note
        {"\xF4\x8F\xBF\xBF", 4}, // the last code point
        {"\xC0\xAF", 0},         // overlong "/"
        {"\xC1\xBF", 0},         // overlong
        {"\xE0\x80\xAF", 0},     // overlong in three bytes
        {"\xF0\x8F\xBF\xBF", 0}, // overlong in four bytes
        {"\xED\xA0\x80", 0},     // a surrogate
        {"\xF4\x90\x80\x80", 0}, // past the last code point
        {"\xF5\x80\x80\x80", 0}, // no such lead byte
        {"\xC3", 0},             // cut
        {"\xE2\x82", 0},         // cut
        {"\xC3z", 0},            // not a continuation byte
        {"\x80", 0},             // a continuation byte alone
        {"a", 0},                // ASCII is no multi-byte sequence
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Utf8SequenceLength(text), expected) << testing::PrintToString(text);
    }
}

// Walking forward and back agrees, and every byte that starts no valid sequence is one U+FFFD.
TEST(Utf8Sequences, CharactersAreWalkedWholeFromEitherEnd) {
    struct Case {
        std::string Text;
        char32_t First;
        std::size_t FirstLength;
        char32_t Last;
        std::size_t LastLength;
    };
    const Case cases[] = {
        {"a\xD0\xAF", U'a', 1, U'\u042F', 2},                     // Latin then Cyrillic
        {"\xE6\x97\xA5\xE6\x9C\xAC", U'\u65E5', 3, U'\u672C', 3}, // two ideographs
        {"\xF0\x9F\x8E\xB5", U'\U0001F3B5', 4, U'\U0001F3B5', 4},
        {"\xE6\x97", 0xFFFD, 1, 0xFFFD, 1}, // a cut ideograph
        {"x\x80", U'x', 1, 0xFFFD, 1},      // a stray continuation byte
        {"\xA9", 0xFFFD, 1, 0xFFFD, 1},     // Windows-1252's copyright sign is no UTF-8
    };
    for (const Case& c : cases) {
        const Utf8Character first = FirstUtf8Character(c.Text);
        const Utf8Character last = LastUtf8Character(c.Text);
        EXPECT_EQ(first.Code, c.First) << testing::PrintToString(c.Text);
        EXPECT_EQ(first.Length, c.FirstLength) << testing::PrintToString(c.Text);
        EXPECT_EQ(last.Code, c.Last) << testing::PrintToString(c.Text);
        EXPECT_EQ(last.Length, c.LastLength) << testing::PrintToString(c.Text);
    }
}

TEST(Utf8Sequences, EncodingAndDecodingMeet) {
    for (const char32_t code : {U'A', U'\u00E9', U'\u20AC', U'\uAC00', U'\U0001F3B5'}) {
        const std::string bytes = EncodeUtf8(code);
        EXPECT_EQ(FirstUtf8Character(bytes).Code, code);
        EXPECT_EQ(FirstUtf8Character(bytes).Length, bytes.size());
    }
    EXPECT_EQ(EncodeUtf8(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(DecodeUtf8("a\xF0\x9F\x8E\xB5\xFF"), std::u16string(u"a\U0001F3B5\uFFFD"));
}

} // namespace
} // namespace velmora
