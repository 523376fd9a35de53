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

} // namespace
} // namespace velmora
