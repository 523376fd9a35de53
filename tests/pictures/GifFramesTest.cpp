#include "pictures/GifFrames.h"

#include <gtest/gtest.h>
#include <optional>
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

ByteVector Control(std::uint16_t delay) {
    return {0x21, 0xF9, 0x04, 0x00, static_cast<std::uint8_t>(delay), static_cast<std::uint8_t>(delay >> 8),
            0x00, 0x00};
}

// An image descriptor without a colour table, with a code size and one data sub-block of `length` bytes.
ByteVector Image(std::uint16_t left, std::uint16_t top, std::uint8_t length = 2) {
    ByteVector image = {0x2C,
                        static_cast<std::uint8_t>(left),
                        static_cast<std::uint8_t>(left >> 8),
                        static_cast<std::uint8_t>(top),
                        static_cast<std::uint8_t>(top >> 8),
                        1,
                        0,
                        1,
                        0,
                        0x00,
                        0x02,
                        length};
    image.insert(image.end(), length, 0x44);
    image.push_back(0x00);
    return image;
}

const ByteVector kLooping = {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                             'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};
const ByteVector kComment = {0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x02, 'd', 'e', 0x00};

std::int32_t Count(const ByteVector& data) {
    return static_cast<std::int32_t>(IndexFrameBlocks(data).size());
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
        // What encoders put between a control block and its image.
        {"looping block between", Join({Header(), Control(5), kLooping, Image(0, 0)}), 1},
        {"comment and looping block between", Join({Header(), Control(5), kComment, kLooping, Image(0, 0)}),
         1},
        {"looping block before the control block", Join({Header(), kLooping, Control(5), Image(0, 0)}), 1},
        {"a second control block governs the image",
         Join({Header(), Control(5), kComment, Control(6), Image(0, 0)}), 1},
        {"plain text block between",
         Join({Header(), Control(5), {0x21, 0x01, 0x01, 0x20, 0x00}, Image(0, 0)}), 0},
        {"comment cut by the end", Join({Header(), Control(5), {0x21, 0xFE, 0x09, 'a'}}), 0},
        {"comment then no image", Join({Header(), Control(5), kComment, {0x3B}}), 0},
        {"comment then a separator as the last byte", Join({Header(), Control(5), kComment, {0x2C}}), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Count(c.data), c.expected) << c.name;
    }
}

TEST(GifFrameScanTest, ReadsBlockFieldsAndZeroForBytesPastTheEnd) {
    const ByteVector whole = Join({Header(), Block(0x1234, 0x0102, 0x0304)});
    const std::optional<FrameBlock> full = FrameBlockAt(whole, 13);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Delay, 0x1234);
    EXPECT_EQ(full->Left, 0x0102);
    EXPECT_EQ(full->Top, 0x0304);
    EXPECT_EQ(full->Descriptor, 21u);

    // Only the low byte of the left edge lies inside the data.
    const ByteVector cut(whole.begin(), whole.begin() + 13 + 10);
    const std::optional<FrameBlock> partial = FrameBlockAt(cut, 13);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->Left, 0x02);
    EXPECT_EQ(partial->Top, 0);

    const ByteVector between = Join({Header(), Control(7), kComment, kLooping, Image(9, 8)});
    const std::optional<FrameBlock> passed = FrameBlockAt(between, 13);
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->Delay, 7);
    EXPECT_EQ(passed->Left, 9);
    EXPECT_EQ(passed->Top, 8);
    EXPECT_EQ(passed->Descriptor, 13 + Control(7).size() + kComment.size() + kLooping.size());
}

TEST(GifFrameScanTest, IndexesDelaysAndPositionsInOrder) {
    const ByteVector data = Join({Header(),
                                  kLooping,
                                  Control(50),
                                  Image(1, 2),
                                  Control(20),
                                  kComment,
                                  Image(3, 4),
                                  Control(0),
                                  Image(5, 6),
                                  {0x3B}});
    const std::vector<FrameBlock> index = IndexFrameBlocks(data);
    ASSERT_EQ(index.size(), 3u);
    const std::uint16_t delays[] = {50, 20, 0};
    for (std::size_t i = 0; i < index.size(); ++i) {
        EXPECT_EQ(index[i].Delay, delays[i]) << i;
        EXPECT_EQ(index[i].Left, 2 * i + 1) << i;
        EXPECT_EQ(index[i].Top, 2 * i + 2) << i;
        EXPECT_EQ(data.at(index[i].Position), 0x21) << i;
        EXPECT_EQ(data.at(index[i].Descriptor), 0x2C) << i;
    }
}

TEST(GifFrameScanTest, FindsWhereAnImageEnds) {
    ByteVector withTable = Image(0, 0, 3);
    withTable.at(9) = 0x81; // a local table of 4 colours, 12 bytes
    withTable.insert(withTable.begin() + 10, 12, 0x55);
    const struct {
        const char* name;
        ByteVector image;
        std::optional<std::size_t> length; // none: the image runs to the end of the data
    } cases[] = {
        {"one sub-block", Image(0, 0, 2), 10 + 1 + 1 + 2 + 1},
        {"local colour table", withTable, 10 + 12 + 1 + 1 + 3 + 1},
        {"cut inside its data", ByteVector{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 9, 1}, std::nullopt},
        {"cut inside the descriptor", ByteVector{0x2C, 0, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        const ByteVector data = Join({Header(), c.image, {0x3B}});
        EXPECT_EQ(ImageEnd(data, 13), c.length ? 13 + *c.length : data.size()) << c.name;
    }
}

TEST(GifFrameScanTest, SelectingAFrameKeepsTheHeaderAndThatFramesImage) {
    const ByteVector header = Join({Header(), kLooping});
    const ByteVector first = Join({Control(50), kComment, Image(1, 2)});
    const ByteVector second = Join({Control(20), Image(3, 4)});
    const ByteVector trailer = {0x3B};
    const ByteVector data = Join({header, first, second, trailer});
    const std::vector<FrameBlock> index = IndexFrameBlocks(data);
    const struct {
        std::int32_t frame;
        ByteVector expected;
        std::uint16_t left;
        std::uint16_t top;
    } cases[] = {
        {-1, data, 0, 0},
        {0, data, 0, 0},
        {1, Join({header, first, trailer}), 1, 2},
        {2, Join({header, second, trailer}), 3, 4},
        {3, header, 0, 0}, // beyond the last frame only the bytes before the first block stay
    };
    for (const auto& c : cases) {
        ByteVector out = {0xEE};
        const SelectedFrame selected = SelectFrame(data, index, c.frame, out);
        EXPECT_EQ(out, Join({{0xEE}, c.expected})) << "frame " << c.frame;
        EXPECT_EQ(selected.Left, c.left) << "frame " << c.frame;
        EXPECT_EQ(selected.Top, c.top) << "frame " << c.frame;
    }
}

TEST(GifFrameScanTest, SelectingFromDataWithoutBlocksKeepsItAll) {
    const ByteVector data = Join({Header(), Image(0, 0), {0x3B}});
    for (const std::int32_t frame : {0, 1, 2}) {
        ByteVector out;
        SelectFrame(data, IndexFrameBlocks(data), frame, out);
        EXPECT_EQ(out, data) << frame;
    }
}

TEST(GifFrameScanTest, HandlesAHundredThousandTinyFrames) {
    constexpr std::int32_t kFrames = 100000;
    ByteVector data = Header();
    for (std::int32_t i = 0; i < kFrames; ++i) {
        const ByteVector block =
            Join({Control(static_cast<std::uint16_t>(i % 7)), Image(static_cast<std::uint16_t>(i), 0)});
        data.insert(data.end(), block.begin(), block.end());
    }
    data.push_back(0x3B);
    const std::vector<FrameBlock> index = IndexFrameBlocks(data);
    ASSERT_EQ(index.size(), static_cast<std::size_t>(kFrames));
    EXPECT_EQ(index.back().Delay, (kFrames - 1) % 7);

    ByteVector out;
    const SelectedFrame last = SelectFrame(data, index, kFrames, out);
    EXPECT_EQ(out.size(), Header().size() + Control(0).size() + Image(0, 0).size() + 1);
    EXPECT_EQ(last.Left, static_cast<std::uint16_t>(kFrames - 1));
    out.clear();
    SelectFrame(data, index, 1, out);
    EXPECT_EQ(out.size(), Header().size() + Control(0).size() + Image(0, 0).size() + 1)
        << "the first frame alone";
}

} // namespace
} // namespace velmora::gif
