#include "cue/repair/EncodingDecision.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(EncodingDecision, WritesANameOnlyInBytesEveryRemainingReadingReadsAlike) {
    struct Case {
        std::string utf8;
        std::vector<SheetEncoding> readings;
        std::optional<std::string> written;
    };
    const Case cases[] = {
        {"Tokyo Live.flac", {SheetEncoding::ShiftJis, SheetEncoding::Korean}, "Tokyo Live.flac"},
        {"東京.flac", {SheetEncoding::ShiftJis}, "\x93\x8C\x8B\x9E.flac"},
        // Korean's code page writes the same characters in other bytes.
        {"東京.flac", {SheetEncoding::ShiftJis, SheetEncoding::Korean}, std::nullopt},
        // Both Windows code pages keep their punctuation in the same place.
        {"Don’t – Live.flac",
         {SheetEncoding::Windows1252, SheetEncoding::Windows1251},
         "Don\x92t \x96 Live.flac"},
        {"Café.flac", {SheetEncoding::Windows1252, SheetEncoding::Windows1251}, std::nullopt},
        {"Кино.flac", {SheetEncoding::Windows1252}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const EncodingDecision decision{c.readings.front(), c.readings, false};
        EXPECT_EQ(EncodeForSheet(c.utf8, decision), c.written);
    }
}

} // namespace
} // namespace velmora
