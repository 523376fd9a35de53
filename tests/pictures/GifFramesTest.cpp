#include "pictures/GifFrames.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora::gif {
namespace {

using ByteVector = std::vector<std::uint8_t>;

ByteVector Header() {
    return {'G', 'I', 'F', '8', '9', 'a', 10, 0, 20, 0, 0, 0, 0};
}

// A graphic control block with its descriptor and one byte of image data.
ByteVector Block(std::uint16_t delay, std::uint16_t left, std::uint16_t top) {
    return {0x21,
            0xF9,
            0x04,
            0x00,
            static_cast<std::uint8_t>(delay),
            static_cast<std::uint8_t>(delay >> 8),
            0x00,
            0x00,
            0x2C,
            static_cast<std::uint8_t>(left),
            static_cast<std::uint8_t>(left >> 8),
            static_cast<std::uint8_t>(top),
            static_cast<std::uint8_t>(top >> 8),
            0x77};
}

ByteVector Join(std::initializer_list<ByteVector> parts) {
    ByteVector all;
    for (const ByteVector& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

ByteVector FromText(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(GifDataTest, RecognisesTheSignature) {
    const struct {
        ByteVector data;
        bool expected;
    } cases[] = {
        {{}, false},
        {FromText("GIF8"), false}, // the signature alone is too short
        {FromText("GIF89"), true},
        {FromText("GIF87a"), true},
        {FromText("gif89a"), false},
        {FromText("GIF7a1"), false},
        {{'G', 'I', 0, '8', '9'}, false},
        {FromText("\x89PNG\r\n"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsGifData(c.data), c.expected) << std::string(c.data.begin(), c.data.end());
    }
}

TEST(GifFrameScanTest, CountsOnlyWholeBlocksInsideTheData) {
    const ByteVector block = Block(5, 0, 0);
    const ByteVector tenBytes(block.begin(), block.begin() + 10);
    const ByteVector nineBytes(block.begin(), block.begin() + 9);
    ByteVector wrongLength = block;
    wrongLength.at(2) = 0x05;
    ByteVector noDescriptor = block;
    noDescriptor.at(8) = 0x2B;
    const struct {
        const char* name;
        ByteVector data;
        std::int32_t expected;
    } cases[] = {
        {"header only", Header(), 0},
        {"one block", Join({Header(), block}), 1},
        {"block ends one byte after the separator", Join({Header(), tenBytes}), 1},
        {"0x21 in the last 9 bytes", Join({Header(), nineBytes}), 0},
        {"extension cut after its length", Join({Header(), {0x21, 0xF9, 0x04}}), 0},
        {"lone 0x21 at the end", Join({Header(), {0x21}}), 0},
        {"length other than 4", Join({Header(), wrongLength}), 0},
        {"no image separator", Join({Header(), noDescriptor}), 0},
        {"three blocks", Join({Header(), block, block, block}), 3},
        {"blocks without a header count too", Join({block, block}), 2},
        {"empty", {}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountFrameBlocks(c.data), c.expected) << c.name;
    }
}

TEST(GifFrameScanTest, ReadsBlockFieldsAndZeroForBytesPastTheEnd) {
    const ByteVector whole = Join({Header(), Block(0x1234, 0x0102, 0x0304)});
    const FrameBlock full = ReadFrameBlock(whole, 13);
    EXPECT_EQ(full.delay, 0x1234);
    EXPECT_EQ(full.left, 0x0102);
    EXPECT_EQ(full.top, 0x0304);

    // Only the low byte of the left edge lies inside the data.
    const ByteVector cut(whole.begin(), whole.begin() + 13 + 10);
    ASSERT_TRUE(IsFrameBlockAt(cut, 13));
    const FrameBlock partial = ReadFrameBlock(cut, 13);
    EXPECT_EQ(partial.left, 0x02);
    EXPECT_EQ(partial.top, 0);
}

TEST(GifFrameScanTest, GivesTheDelayOfTheNthBlock) {
    const ByteVector data = Join({Header(), Block(50, 0, 0), Block(20, 0, 0), {0x3B}});
    const struct {
        std::int32_t frame;
        std::int32_t expected;
    } cases[] = {{-3, -1}, {0, -1}, {1, 50}, {2, 20}, {3, -1}, {1000, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(FrameBlockDelay(data, c.frame), c.expected) << "frame " << c.frame;
    }
}

TEST(GifFrameScanTest, SelectingAFrameDropsTheBlocksBeforeIt) {
    const ByteVector header = Header();
    const ByteVector first = Block(50, 1, 2);
    const ByteVector second = Block(20, 3, 4);
    const ByteVector trailer = {0x3B};
    const ByteVector data = Join({header, first, second, trailer});
    const struct {
        std::int32_t frame;
        ByteVector expected;
        std::uint16_t left;
        std::uint16_t top;
    } cases[] = {
        {-1, data, 0, 0},  {0, data, 0, 0}, {1, data, 1, 2}, {2, Join({header, second, trailer}), 3, 4},
        {3, header, 0, 0}, // beyond the last frame only the bytes before the first block stay
    };
    for (const auto& c : cases) {
        ByteVector out = {0xEE};
        const SelectedFrame selected = SelectFrame(data, c.frame, out);
        EXPECT_EQ(out, Join({{0xEE}, c.expected})) << "frame " << c.frame;
        EXPECT_EQ(selected.left, c.left) << "frame " << c.frame;
        EXPECT_EQ(selected.top, c.top) << "frame " << c.frame;
    }
}

TEST(GifFrameScanTest, HandlesAHundredThousandTinyFrames) {
    constexpr std::int32_t kFrames = 100000;
    ByteVector data = Header();
    for (std::int32_t i = 0; i < kFrames; ++i) {
        const ByteVector block = Block(static_cast<std::uint16_t>(i % 7), static_cast<std::uint16_t>(i), 0);
        data.insert(data.end(), block.begin(), block.end());
    }
    EXPECT_EQ(CountFrameBlocks(data), kFrames);
    EXPECT_EQ(FrameBlockDelay(data, kFrames), (kFrames - 1) % 7);

    ByteVector out;
    const SelectedFrame last = SelectFrame(data, kFrames, out);
    EXPECT_EQ(out.size(), Header().size() + Block(0, 0, 0).size());
    EXPECT_EQ(last.left, static_cast<std::uint16_t>(kFrames - 1));
}

} // namespace
} // namespace velmora::gif
