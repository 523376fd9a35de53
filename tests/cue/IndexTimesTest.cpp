#include "cue/IndexTimes.h"

#include "cue/Error.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IndexTimes, ParseIntegerAcceptsOnlyWhatThePlatformAccepts) {
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"007", 7},
        {"-5", -5},
        {"+5", 5},
        {"$1F", 31},
        {"$1f", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", INT32_MAX},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$80000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"1 2", std::nullopt},
        {"12a", std::nullopt},
        {"$1G", std::nullopt},
        {"--1", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseInteger(text), expected) << '"' << text << '"';
}

TEST(IndexTimes, FormatPadsToTwoDigits) {
    const std::pair<std::int64_t, std::string> cases[] = {
        {0, "00"},
        {5, "05"},
        {59, "59"},
        {100, "100"},
        {-5, "-05"},
        {-123, "-123"},
        {2147483648LL, "2147483648"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FormatTimeField(value), expected) << value;
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
        {"    INDEX 01 00:02:60", "    INDEX 01 00:02:60", 0},
        {"    INDEX 01 00:02:75", "    INDEX 01 00:03:00", 1},
        {"    INDEX 01 00:60:00", "    INDEX 01 01:00:00", 1},
        {"    INDEX 01 00:59:125", "    INDEX 01 01:00:50", 1},
        {"    INDEX 01 00:59:74", "    INDEX 01 00:59:74", 0},
        {"    INDEX 01 0:2:0", "    INDEX 01 00:02:00", 1},
        {"    INDEX 01 00:-5:00", "    INDEX 01 00:-05:00", 1},
        {"    INDEX 01 -1:00:00", "    INDEX 01 -01:00:00", 1},
        {"    INDEX 01 100:00:00", "    INDEX 01 100:00:00", 0},
        {"    INDEX 01 $A:0x1F:x2", "    INDEX 01 10:31:02", 1},
        {"    INDEX 01 00:00:150", "    INDEX 01 00:02:00", 1},
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

TEST(IndexTimes, OnlyTheLineBeingProcessedChanges) {
    const std::string sheet = "REM 0:2:0\r\n"
                              "  TRACK 01 AUDIO\r\n"
                              "    INDEX 00 0:2:0\r\n"
                              "    INDEX 01 0:2:0\r\n"
                              "  TRACK 02 AUDIO\r\n"
                              "    INDEX 01 0:2:0\r\n"
                              "    INDEX 01 10:2:0";
    const std::string expected = "REM 0:2:0\r\n"
                                 "  TRACK 01 AUDIO\r\n"
                                 "    INDEX 00 0:2:0\r\n"
                                 "    INDEX 01 00:02:00\r\n"
                                 "  TRACK 02 AUDIO\r\n"
                                 "    INDEX 01 00:02:00\r\n"
                                 "    INDEX 01 10:02:00";
    RepairState state;
    EXPECT_EQ(NormaliseIndexTimes(state, sheet), expected);
    EXPECT_EQ(state.CorrectionCount, 3);
    EXPECT_EQ(state.TimeText, "10:2:0");
    EXPECT_EQ(state.NewTimeText, "10:02:00");
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
