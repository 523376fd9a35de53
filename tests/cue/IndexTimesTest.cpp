#include "cue/IndexTimes.h"

#include "cue/Error.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IndexTimes, ParseIntegerAcceptsOnlyWhatThePlatformAccepts) {
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"007", 7},
        {"-5", -5},
        {"+5", 5},
        {"$1f", 31},
        {"X10", 16},
        {"0x10", 16},
        {"-$10", -16},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", INT32_MAX},
        {"2147483648", std::nullopt},
        {"$80000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"12a", std::nullopt},
        {"$1G", std::nullopt},
        {"--1", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseInteger(text), expected) << '"' << text << '"';
}

struct TimeCase {
    std::string line;
    std::string written;
    int counted;
};

TEST(IndexTimes, NormalisesTheTimeOfEachIndex01Line) {
    const TimeCase cases[] = {
        // Frames count 75 to a second, so a valid time is only padded.
        {"    INDEX 01 00:02:61", "    INDEX 01 00:02:61", 0},
        {"    INDEX 01 00:02:74", "    INDEX 01 00:02:74", 0},
        {"    INDEX 01 00:02:75", "    INDEX 01 00:03:00", 1},
        {"    INDEX 01 00:60:00", "    INDEX 01 01:00:00", 1},
        {"    INDEX 01 00:59:125", "    INDEX 01 01:00:50", 1},
        {"    INDEX 01 0:2:0", "    INDEX 01 00:02:00", 1},
        {"    INDEX 01 00:-5:00", "    INDEX 01 00:-05:00", 1},
        {"    INDEX 01 -1:00:00", "    INDEX 01 -01:00:00", 1},
        {"    INDEX 01 100:00:00", "    INDEX 01 100:00:00", 0},
        {"    INDEX 01 $A:0x1F:x2", "    INDEX 01 10:31:02", 1},
        {"    INDEX 01 00:00:4500", "    INDEX 01 01:00:00", 1},
        {"    INDEX 01    00:02:75   ", "    INDEX 01    00:03:00   ", 1},
        // Carrying past the 32-bit range of the fields is no overflow.
        {"INDEX 01 2147483647:60:00", "INDEX 01 2147483648:00:00", 1},
        {"INDEX 01 00:2147483647:2147483647", "INDEX 01 36268612:42:22", 1},
        {"    index 01 00:02:61", "    index 01 00:02:61", 0},
        {"    INDEX 00 0:2:0", "    INDEX 00 0:2:0", 0},
        // Without a blank before it the time starts at the marker's length (here the TAB).
        {"INDEX 01\t0:2:0", "INDEX 01\t00:02:00", 1},
        {"REM INDEX 01 1:2:3", "REM INDEX 01 01:02:03", 1},
    };
    for (const TimeCase& c : cases) {
        RepairState state;
        EXPECT_EQ(NormaliseIndexTimes(state, c.line + "\r\n"), c.written + "\r\n") << c.line;
        EXPECT_EQ(state.CorrectionCount, c.counted) << c.line;
    }
}

TEST(IndexTimes, AFieldThatIsNoIntegerNamesItself) {
    const std::pair<std::string, std::string> cases[] = {
        {"INDEX 01 00:02", "''"},
        {"INDEX 01 00:02:00 ; comment", "'00 ; comment'"},
        {"INDEX 01 aa:00:00", "'aa'"},
        {"INDEX 01 00:2147483648:00", "'2147483648'"},
        {"INDEX 01", "''"},
        {"    INDEX 01\t00:02:00", "'X 01\t00'"},
        {"INDEX 01 1:2:3 \r\nINDEX 01 1:b:3", "'b'"},
    };
    for (const auto& [text, quoted] : cases) {
        RepairState state;
        try {
            NormaliseIndexTimes(state, text);
            ADD_FAILURE() << text << " converted";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), quoted + " n'est pas une valeur entière correcte") << text;
        }
    }
}

TEST(ErrorBox, AddsAFullStopAfterCharactersAboveTheDot) {
    const std::pair<std::string, std::string> cases[] = {
        {"'x' n'est pas une valeur entière correcte", "'x' n'est pas une valeur entière correcte."},
        {"Done.", "Done."},
        {"Why?", "Why?."},
        {"a-", "a-"},
        {"a/", "a/."},
        {"ends in é", "ends in é."},
        {"", ""},
    };
    for (const auto& [message, text] : cases)
        EXPECT_EQ(ErrorBoxText(message), text) << message;
}

} // namespace
} // namespace velmora
