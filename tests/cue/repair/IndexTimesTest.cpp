#include "cue/repair/IndexTimes.h"

#include "errors/Error.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct TimeCase {
    std::string line;
    std::string written;
    int counted;
};

TEST(IndexTimes, NormalisesEveryIndexPregapAndPostgapTime) {
    const TimeCase cases[] = {
        // Frames count 75 to a second, so a valid time is only padded.
        {"    INDEX 01 00:02:61", "    INDEX 01 00:02:61", 0},
        {"    INDEX 01 00:02:74", "    INDEX 01 00:02:74", 0},
        {"    INDEX 01 00:02:75", "    INDEX 01 00:03:00", 1},
        {"    INDEX 01 00:60:00", "    INDEX 01 01:00:00", 1},
        {"    INDEX 01 00:59:125", "    INDEX 01 01:00:50", 1},
        {"    INDEX 01 0:2:0", "    INDEX 01 00:02:00", 1},
        {"    INDEX 01 100:00:00", "    INDEX 01 100:00:00", 0},
        {"    INDEX 01 00:00:4500", "    INDEX 01 01:00:00", 1},
        {"    INDEX 01    00:02:75   ", "    INDEX 01    00:03:00   ", 1},
        // Every index, gap and blank between the words.
        {"    INDEX 00 03:58:80", "    INDEX 00 03:59:05", 1},
        {"    INDEX 02 0:0:0", "    INDEX 02 00:00:00", 1},
        {"  PREGAP 00:01:80", "  PREGAP 00:02:05", 1},
        {"\tPOSTGAP\t0:2:0", "\tPOSTGAP\t00:02:00", 1},
        {"INDEX 01\t00:02:80", "INDEX 01\t00:03:05", 1},
        {"INDEX  01 00:02:80", "INDEX  01 00:03:05", 1},
        {"INDEX\t01\t\t0:2:80 ; ripped twice", "INDEX\t01\t\t00:03:05 ; ripped twice", 1},
        // Carrying past the 32-bit range of the fields is no overflow.
        {"INDEX 01 2147483647:60:00", "INDEX 01 2147483648:00:00", 1},
        {"INDEX 01 00:2147483647:2147483647", "INDEX 01 36268612:42:22", 1},
        // Keywords are capitals and come first.
        {"    index 01 00:02:99", "    index 01 00:02:99", 0},
        {"REM INDEX 01 1:2:3", "REM INDEX 01 1:2:3", 0},
        {"REM PREGAP 1:2:99", "REM PREGAP 1:2:99", 0},
        {"INDEXES 01 1:2:99", "INDEXES 01 1:2:99", 0},
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
                                 "    INDEX 00 00:02:00\r\n"
                                 "    INDEX 01 00:02:00\r\n"
                                 "  TRACK 02 AUDIO\r\n"
                                 "    INDEX 01 00:02:00\r\n"
                                 "    INDEX 01 10:02:00";
    RepairState state;
    EXPECT_EQ(NormaliseIndexTimes(state, sheet), expected);
    EXPECT_EQ(state.CorrectionCount, 4);
    EXPECT_EQ(state.TimeText, "10:2:0");
    EXPECT_EQ(state.NewTimeText, "10:02:00");
}

TEST(IndexTimes, ATimeThatIsNotThreeFieldsOfDigitsNamesItsFieldSheetAndLine) {
    const std::tuple<std::string, std::string, std::size_t> cases[] = {
        {"INDEX 01 00:02", "''", 1},
        {"INDEX 01 00:02 ; comment", "''", 1},
        {"INDEX 01 aa:00:00", "'aa'", 1},
        {"INDEX 01 00:2147483648:00", "'2147483648'", 1},
        {"INDEX 01", "''", 1},
        {"INDEX 01 1:2:3:4", "'3:4'", 1},
        {"INDEX 01 00:-5:00", "'-5'", 1},
        {"INDEX 01 $A:00:00", "'$A'", 1},
        {"INDEX 01 00:0x1F:00", "'0x1F'", 1},
        {"PREGAP 00:02:xx", "'xx'", 1},
        {"INDEX 01 1:2:3 \r\nINDEX 00 1:b:3", "'b'", 2},
    };
    for (const auto& [text, quoted, line] : cases) {
        SCOPED_TRACE(text);
        RepairState state;
        state.CuePath = "/m/album.cue";
        try {
            NormaliseIndexTimes(state, text);
            ADD_FAILURE() << text << " converted";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), quoted + " n'est pas une valeur entière correcte") << text;
            EXPECT_EQ(error.SheetPath(), "/m/album.cue");
            EXPECT_EQ(error.LineNumber(), line) << text;
        }
    }
}

} // namespace
} // namespace velmora
