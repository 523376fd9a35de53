#include "graphics/TextLayout.h"

#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::FakeCanvas;

// Flags the markup engine draws every run with.
constexpr TextFormat kRun = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;

// The fake draws characters 8 pixels wide, lines 16 high plus 2 of external leading.
TEST(TextLayoutTest, PlacesOneLineAsDrawTextExDoes) {
    struct Case {
        const char* name;
        std::string text;
        Rect rect;
        TextFormat format;
        std::string shown;
        Rect cell;
        std::int32_t result;
    };
    const Case cases[] = {
        {"bottom with leading", "abc", {10, 0, 200, 50}, kRun, "abc", {10, 32, 34, 50}, 50},
        {"bottom without leading",
         "abc",
         {10, 0, 200, 50},
         kRun & ~DT_EXTERNALLEADING,
         "abc",
         {10, 34, 34, 50},
         50},
        {"top", "ab", {0, 5, 100, 50}, DT_SINGLELINE, "ab", {0, 5, 16, 21}, 16},
        {"vertical centre", "ab", {0, 0, 100, 40}, DT_SINGLELINE | DT_VCENTER, "ab", {0, 12, 16, 28}, 28},
        {"right", "ab", {0, 0, 100, 40}, DT_SINGLELINE | DT_RIGHT, "ab", {84, 0, 100, 16}, 16},
        {"centre", "abc", {0, 0, 100, 40}, DT_SINGLELINE | DT_CENTER, "abc", {38, 0, 62, 16}, 16},
        {"double ampersand shows one", "a&&b", {0, 0, 100, 20}, DT_SINGLELINE, "a&b", {0, 0, 24, 16}, 16},
        {"prefix hides the ampersand", "&Open", {0, 0, 100, 20}, DT_SINGLELINE, "Open", {0, 0, 32, 16}, 16},
        {"lone ampersand at the end", "ab&", {0, 0, 100, 20}, DT_SINGLELINE, "ab", {0, 0, 16, 16}, 16},
        {"no prefix keeps ampersands",
         "a&&b",
         {0, 0, 100, 20},
         DT_SINGLELINE | DT_NOPREFIX,
         "a&&b",
         {0, 0, 32, 16},
         16},
        {"tab to the next stop",
         "a\tb",
         {0, 0, 200, 20},
         DT_SINGLELINE | DT_EXPANDTABS,
         "a\tb",
         {0, 0, 72, 16},
         16},
        {"two tabs", "\t\tb", {0, 0, 300, 20}, DT_SINGLELINE | DT_EXPANDTABS, "\t\tb", {0, 0, 136, 16}, 16},
        {"tab at a stop moves a whole stop",
         "abcdefgh\tx",
         {0, 0, 300, 20},
         DT_SINGLELINE | DT_EXPANDTABS,
         "abcdefgh\tx",
         {0, 0, 136, 16},
         16},
        {"unexpanded tab is one character",
         "a\tb",
         {0, 0, 200, 20},
         DT_SINGLELINE,
         "a\tb",
         {0, 0, 24, 16},
         16},
        {"ellipsis cuts to fit",
         "abcdefghij",
         {0, 0, 60, 20},
         DT_SINGLELINE | DT_END_ELLIPSIS,
         "abcd...",
         {0, 0, 56, 16},
         16},
        {"ellipsis not needed",
         "abcdefg",
         {0, 0, 56, 20},
         DT_SINGLELINE | DT_END_ELLIPSIS,
         "abcdefg",
         {0, 0, 56, 16},
         16},
        {"ellipsis alone when nothing fits",
         "abcdef",
         {0, 0, 10, 20},
         DT_SINGLELINE | DT_END_ELLIPSIS,
         "...",
         {0, 0, 24, 16},
         16},
        {"ellipsis counts shown characters",
         "a&&bcdef",
         {0, 0, 48, 20},
         DT_SINGLELINE | DT_END_ELLIPSIS,
         "a&b...",
         {0, 0, 48, 16},
         16},
        {"empty text", "", {3, 4, 50, 60}, kRun, "", {3, 42, 3, 60}, 56},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCanvas canvas;
        Rect rect = c.rect;
        EXPECT_EQ(canvas.DrawText(c.text, rect, c.format), c.result);
        EXPECT_EQ(rect, c.rect) << "drawing must not change the rectangle";
        EXPECT_EQ(canvas.Records().size(), 1u);
        if (canvas.Records().size() != 1u) {
            continue;
        }
        EXPECT_EQ(canvas.Records()[0].Shown, c.shown);
        EXPECT_EQ(canvas.Records()[0].Area, c.cell);
    }
}

TEST(TextLayoutTest, CalcRectSetsRightAndBottomOnlyAndDrawsNothing) {
    struct Case {
        const char* name;
        std::string text;
        Rect rect;
        TextFormat format;
        Rect expected;
    };
    const Case cases[] = {
        {"run measure", "word ", {5, 7, 100, 30}, kRun | DT_CALCRECT, {5, 7, 45, 25}},
        {"without leading", "word", {5, 7, 100, 30}, DT_SINGLELINE | DT_CALCRECT, {5, 7, 37, 23}},
        {"alignment is ignored",
         "ab",
         {0, 0, 100, 100},
         DT_SINGLELINE | DT_RIGHT | DT_BOTTOM | DT_CALCRECT,
         {0, 0, 16, 16}},
        {"wider than the rectangle",
         "abcdefghijkl",
         {0, 0, 40, 10},
         DT_SINGLELINE | DT_CALCRECT,
         {0, 0, 96, 16}},
        {"ellipsis keeps it within",
         "abcdefghijkl",
         {0, 0, 40, 10},
         DT_SINGLELINE | DT_CALCRECT | DT_END_ELLIPSIS,
         {0, 0, 40, 16}},
        {"prefix and tabs",
         "&a\tb&&",
         {0, 0, 300, 10},
         DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT,
         {0, 0, 80, 16}},
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        Rect rect = c.rect;
        canvas.DrawText(c.text, rect, c.format);
        EXPECT_EQ(rect, c.expected) << c.name;
        EXPECT_TRUE(canvas.Records().empty()) << c.name;
        EXPECT_EQ(canvas.MeasureCount(), 1) << c.name;
    }
}

TEST(TextLayoutTest, PrefixMarksTheCharacterAfterEachSingleAmpersand) {
    struct Case {
        std::string text;
        TextFormat format;
        std::vector<PrefixMark> marks;
    };
    const Case cases[] = {
        {"&Open", DT_SINGLELINE, {{10, 18}}},
        {"Op&en", DT_SINGLELINE, {{26, 34}}},
        {"a&&b", DT_SINGLELINE, {}},
        {"&&&x", DT_SINGLELINE, {{18, 26}}},
        {"&a&b", DT_SINGLELINE, {{10, 18}, {18, 26}}},
        {"\t&x", DT_SINGLELINE | DT_EXPANDTABS, {{74, 82}}},
        {"&a\t&b&c", DT_SINGLELINE | DT_EXPANDTABS, {{10, 18}, {74, 82}, {82, 90}}},
        {"&a&\tb", DT_SINGLELINE | DT_EXPANDTABS, {{10, 18}}}, // a tab is never underlined
        {"&Open", DT_SINGLELINE | DT_NOPREFIX, {}},
        {"abcdefg&h", DT_SINGLELINE | DT_END_ELLIPSIS, {}}, // the marked letter falls to the ellipsis
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        Rect rect{10, 0, 66, 20};
        canvas.DrawText(c.text, rect, c.format);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(canvas.Records().size(), 1u);
        if (canvas.Records().size() != 1u) {
            continue;
        }
        EXPECT_EQ(canvas.Records()[0].Marks, c.marks);
    }
}

// Every character is measured a bounded number of times, however many "&" the line holds: a line of
// marks is laid out in time that grows with its length.
TEST(TextLayoutTest, MarksAreMeasuredOnceAlongTheLine) {
    for (const std::size_t copies : {10u, 1000u}) {
        std::string text;
        for (std::size_t i = 0; i < copies; ++i) {
            text += i % 10 == 9 ? "\ta&b" : "a&b";
        }
        std::size_t measured = 0;
        const MeasureWidth measure = [&measured](std::string_view piece) {
            measured += piece.size();
            return static_cast<std::int32_t>(piece.size()) * 8;
        };
        const TextLine line =
            LayOutTextLine(text, {0, 0, 1 << 24, 20}, DT_SINGLELINE | DT_EXPANDTABS,
                           FontMetrics{16, 13, 3, 0, 2, 8}, TextEncoding::Windows1252, measure);
        ASSERT_EQ(line.Marks.size(), copies);
        EXPECT_EQ(line.Marks.back().Right - line.Marks.back().Left, 8);
        EXPECT_LE(measured, 4 * text.size()) << copies << " copies";

        // Measuring alone reads every character once.
        measured = 0;
        const Rect extent =
            MeasureTextLine(text, {0, 0, 1 << 24, 20}, DT_SINGLELINE, FontMetrics{16, 13, 3, 0, 2, 8},
                            TextEncoding::Windows1252, measure);
        EXPECT_EQ(extent.Right, 8 * static_cast<std::int32_t>(text.size() - copies));
        EXPECT_LE(measured, text.size()) << copies << " copies";
    }
}

TEST(TextLayoutTest, QuickMeasureAgreesWithTheFullLayout) {
    const MeasureWidth measure = [](std::string_view text) {
        std::int32_t width = 0;
        for (const char c : text) {
            width += c == 'i' ? 3 : c == '&' ? 9 : 7;
        }
        return width;
    };
    const FontMetrics metrics{16, 13, 3, 3, 2, 6};
    const std::string texts[] = {"",
                                 "plain",
                                 "a&&b",
                                 "&x",
                                 "&&&x",
                                 "a&",
                                 "&a&&b&",
                                 "&&",
                                 "tab\there",
                                 "t&ab\t&&x",
                                 "iiiiiiiiiiiiiiiiiiiiiiii",
                                 "wide text here",
                                 "w&i&d&e text here"};
    const TextFormat formats[] = {kRun, DT_SINGLELINE, kRun | DT_END_ELLIPSIS, DT_SINGLELINE | DT_NOPREFIX,
                                  DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX};
    for (const std::string& text : texts) {
        for (const TextFormat format : formats) {
            const Rect rect{3, 4, 60, 40};
            EXPECT_EQ(
                MeasureTextLine(text, rect, format, metrics, TextEncoding::Windows1252, measure),
                LayOutTextLine(text, rect, format | DT_CALCRECT, metrics, TextEncoding::Windows1252, measure)
                    .Cell)
                << text << " " << std::hex << format;
        }
    }
}

TEST(TextLayoutTest, EllipsisSearchUsesTheRealWidths) {
    // A proportional measure: "i" is narrow, "W" wide, "." 2 pixels.
    const MeasureWidth measure = [](std::string_view text) {
        std::int32_t width = 0;
        for (const char c : text) {
            width += c == 'i' ? 2 : c == 'W' ? 12 : c == '.' ? 2 : 6;
        }
        return width;
    };
    const FontMetrics metrics{16, 13, 3, 3, 2, 6};
    struct Case {
        std::string text;
        std::int32_t width;
        std::string shown;
    };
    const Case cases[] = {
        {"iiiiiiiiiiWWW", 30, "iiiiiiiiii..."},
        {"iiiiiiiiiiWWW", 38, "iiiiiiiiiiW..."},
        {"WWWWiiii", 30, "WW..."},
        {"WWWWiiii", 5, "..."},
    };
    for (const Case& c : cases) {
        const TextLine line = LayOutTextLine(c.text, {0, 0, c.width, 20}, DT_SINGLELINE | DT_END_ELLIPSIS,
                                             metrics, TextEncoding::Windows1252, measure);
        EXPECT_EQ(line.Shown, c.shown) << c.text;
        if (c.width >= 6) {
            EXPECT_LE(line.Cell.Width(), c.width) << c.text;
        }
    }
}

} // namespace
} // namespace velmora
