#include "platform/HandOverFrame.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::string Header(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    std::string out;
    for (const std::uint32_t word : {message, wParam, lParam}) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<char>((word >> shift) & 0xFF));
        }
    }
    return out;
}

struct FrameCase {
    const char* name;
    std::string bytes;
    bool complete;
    bool failed;
    std::uint32_t message;
    std::string path;
};

TEST(FrameReaderTest, TakesOurTwoFramesAndFailsOnAnythingElse) {
    const std::string longPath(kMaxHandOverPath, 'x');
    const FrameCase cases[] = {
        {"path", EncodePathFrame("/music/album.cue"), true, false, WM_HANDOVER, "/music/album.cue"},
        {"path with spaces", EncodePathFrame("/my music/a b.cue"), true, false, WM_HANDOVER,
         "/my music/a b.cue"},
        {"empty path", EncodePathFrame(""), true, false, WM_HANDOVER, ""},
        {"longest path", EncodePathFrame(longPath), true, false, WM_HANDOVER, longPath},
        {"show normal", EncodeShowNormalFrame(), true, false, WM_SHOWWINDOW, ""},
        {"header cut short", EncodePathFrame("/a.cue").substr(0, 7), false, false, 0, ""},
        {"path cut short", EncodePathFrame("/album.cue").substr(0, 15), false, false, 0, ""},
        {"oversized path", Header(WM_HANDOVER, kMaxHandOverPath + 1, 1), false, true, 0, ""},
        {"unknown message", Header(1067, 3, 1) + "abc", false, true, 0, ""},
        {"show with another command", Header(WM_SHOWWINDOW, 3, 0), false, true, 0, ""},
        {"all ones", std::string(12, '\xFF'), false, true, 0, ""},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        FrameReader reader;
        reader.Append(c.bytes);
        const auto frame = reader.Next();
        EXPECT_EQ(frame.has_value(), c.complete);
        EXPECT_EQ(reader.Failed(), c.failed);
        if (frame) {
            EXPECT_EQ(frame->Message, c.message);
            EXPECT_EQ(frame->Path, c.path);
            EXPECT_FALSE(reader.Partial());
        }
    }
}

TEST(FrameReaderTest, FramesArrivingByteByByteComeOutWholeAndInOrder) {
    const std::string stream = EncodePathFrame("/a.cue") + EncodeShowNormalFrame();
    FrameReader reader;
    std::vector<HandOverFrame> frames;
    for (const char byte : stream) {
        reader.Append(std::string_view(&byte, 1));
        while (auto frame = reader.Next()) {
            frames.push_back(*frame);
        }
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Message, WM_HANDOVER);
    EXPECT_EQ(frames[0].WParam, 6u);
    EXPECT_EQ(frames[0].LParam, 1);
    EXPECT_EQ(frames[0].Path, "/a.cue");
    EXPECT_EQ(frames[1].Message, WM_SHOWWINDOW);
    EXPECT_EQ(frames[1].WParam, SW_SHOWNORMAL);
    EXPECT_FALSE(reader.Partial());
}

TEST(FrameReaderTest, AFailedReaderStaysFailed) {
    FrameReader reader;
    reader.Append(Header(99, 0, 0));
    EXPECT_FALSE(reader.Next());
    reader.Append(EncodeShowNormalFrame());
    EXPECT_FALSE(reader.Next());
    EXPECT_TRUE(reader.Failed());
}

} // namespace
} // namespace velmora
