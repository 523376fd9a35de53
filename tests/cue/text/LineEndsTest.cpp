#include "cue/text/LineEnds.h"

#include "cue/text/TextBuffer.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LineEnds, ARepairedTextKeepsEachLinesOwnBreak) {
    struct Case {
        std::string onDisk;
        // The repair's text, CR LF throughout, and what goes back to disk.
        std::string repaired;
        std::string written;
    };
    const Case cases[] = {
        {"A\nB\n", "A\r\nB2\r\n", "A\nB2\n"},
        {"A\r\nB\r\n", "A\r\nB2\r\n", "A\r\nB2\r\n"},
        {"A\rB\r", "A2\r\nB\r\n", "A2\rB\r"},
        {"A\r\nB\nC\rD", "A\r\nB\r\nC\r\nD2", "A\r\nB\nC\rD2"},
        // A line the repair adds takes the break the sheet uses most.
        {"A\nB\r\nC\n", "A\r\nB\r\nC\r\nNEW\r\n", "A\nB\r\nC\nNEW\n"},
        {"single line", "single\r\nline", "single\r\nline"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.onDisk);
        const LineEnds ends = ReadLineEnds(c.onDisk);
        EXPECT_EQ(WithLineEnds(NormaliseLineBreaks(c.onDisk), ends), c.onDisk);
        EXPECT_EQ(WithLineEnds(c.repaired, ends), c.written);
    }
}

} // namespace
} // namespace velmora
