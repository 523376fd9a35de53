#include "graphics/testing/FakeCanvas.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::DrawKind;
using testkit::DrawRecord;
using testkit::FakeCanvas;
using testkit::FakeMetrics;

TEST(FakeCanvasTest, MetricsAreFixedWhateverTheFont) {
    FakeCanvas canvas;
    FontState big;
    big.Size = 40;
    big.Bold = true;
    for (const FontState& font : {FontState{}, big}) {
        canvas.SetFont(font);
        EXPECT_EQ(canvas.TextExtent("gh"), (Size{16, 16}));
        EXPECT_EQ(canvas.TextWidth("a&&b c"), 48); // extents do no prefix processing
        EXPECT_EQ(canvas.Metrics(), (FontMetrics{16, 13, 3, 3, 2, 8}));
    }
    FakeCanvas custom(FakeMetrics{5, 10, 2, 1, 4, 120});
    EXPECT_EQ(custom.TextExtent("abc"), (Size{15, 12}));
    EXPECT_EQ(custom.PixelsPerInchY(), 120);
}

// UTF-8 text is measured, cut by the ellipsis and marked by "&" in whole characters; the same bytes
// read as Windows-1252 are one character each.
TEST(FakeCanvasTest, Utf8TextCountsCharacters) {
    struct Case {
        std::string Text;
        TextEncoding Encoding;
        std::int32_t Width;     // of the rectangle
        std::string Shown;      // with DT_END_ELLIPSIS
        std::int32_t Measured;  // TextWidth
        std::int32_t MarkWidth; // of the one "&" mark, 0 when none
    };
    const Case cases[] = {
        {"\xD0\x9C\xD0\xB8\xD1\x80", TextEncoding::Utf8, 100, "\xD0\x9C\xD0\xB8\xD1\x80", 24, 0}, // "Мир"
        {"\xD0\x9C\xD0\xB8\xD1\x80", TextEncoding::Windows1252, 100, "\xD0\x9C\xD0\xB8\xD1\x80", 48, 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99", TextEncoding::Utf8, 39,
         "\xE6\x97\xA5...", 40, 0}, // "日本語です" cut after one character
        {"ab\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99", TextEncoding::Utf8, 48,
         "ab\xE6\x97\xA5...", 56, 0},
        {"&\xD0\xAF\xD0\xB1", TextEncoding::Utf8, 100, "\xD0\xAF\xD0\xB1", 24, 8}, // "&Яб"
        {"\xE6\x97\xA5\xE6\x97", TextEncoding::Utf8, 100, "\xE6\x97\xA5\xE6\x97", 24,
         0}, // a cut tail: two U+FFFD
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        FontState font;
        font.Encoding = c.Encoding;
        canvas.SetFont(font);
        EXPECT_EQ(canvas.TextWidth(c.Text), c.Measured) << testing::PrintToString(c.Text);
        Rect rect{0, 0, c.Width, 20};
        canvas.DrawText(c.Text, rect, DT_SINGLELINE | DT_END_ELLIPSIS);
        const DrawRecord drawn = canvas.RecordsOf(DrawKind::Text).at(0);
        EXPECT_EQ(drawn.Shown, c.Shown) << testing::PrintToString(c.Text);
        EXPECT_EQ(drawn.Marks.empty() ? 0 : drawn.Marks[0].Right - drawn.Marks[0].Left, c.MarkWidth)
            << testing::PrintToString(c.Text);
    }
}

TEST(FakeCanvasTest, TextRecordsCarryTheStateOfTheirMoment) {
    FakeCanvas canvas;
    FontState font;
    font.Color = clRed;
    font.Underline = true;
    canvas.SetFont(font);
    canvas.SetBrushColor(clYellow);
    canvas.SetClipRect(Rect{0, 0, 50, 50});
    Rect rect{4, 0, 100, 30};
    canvas.DrawText("hi", rect, DT_SINGLELINE | DT_BOTTOM);
    canvas.SetBrushColor(clNone);
    canvas.SetFontColor(clBlue);
    canvas.DrawText("yo", rect, DT_SINGLELINE | DT_BOTTOM);

    const std::vector<DrawRecord> texts = canvas.RecordsOf(DrawKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Font.Color, clRed);
    EXPECT_TRUE(texts[0].Font.Underline);
    EXPECT_EQ(texts[0].BrushState, (Brush{clYellow, BrushStyle::Solid}));
    EXPECT_EQ(texts[0].Clip, (Rect{0, 0, 50, 50}));
    EXPECT_EQ(texts[0].Given, rect);
    EXPECT_EQ(texts[1].Font.Color, clBlue);
    EXPECT_EQ(texts[1].BrushState.Style, BrushStyle::Clear);
    EXPECT_EQ(canvas.DrawnTexts(), (std::vector<std::string>{"hi", "yo"}));
}

TEST(FakeCanvasTest, EscapementTurnsTheRecordedBaseline) {
    struct Case {
        std::int32_t escapement;
        Point end;
    };
    // "abcde" is 40 pixels wide; the cell starts at (10, 50).
    const Case cases[] = {
        {0, {50, 50}},    {900, {10, 10}},  {1800, {-30, 50}},
        {2700, {10, 90}}, {-900, {10, 90}}, {450, {38, 22}},
    };
    for (const Case& c : cases) {
        FakeCanvas canvas;
        FontState font;
        font.Escapement = c.escapement;
        canvas.SetFont(font);
        Rect rect{10, 50, 200, 100};
        canvas.DrawText("abcde", rect, DT_SINGLELINE);
        SCOPED_TRACE(c.escapement);
        EXPECT_EQ(canvas.Records().size(), 1u);
        if (canvas.Records().size() != 1u) {
            continue;
        }
        EXPECT_EQ(canvas.Records()[0].Origin, (Point{10, 50}));
        EXPECT_EQ(canvas.Records()[0].End, c.end);
        EXPECT_EQ(canvas.Records()[0].Font.Escapement, c.escapement);
    }
}

TEST(FakeCanvasTest, LinesMoveThePenAndRecordTheirPixels) {
    FakeCanvas canvas;
    canvas.MoveTo(2, 8);
    canvas.LineTo(10, 8);
    canvas.LineTo(10, 4);
    EXPECT_EQ(canvas.PenPos(), (Point{10, 4}));
    const std::vector<DrawRecord> lines = canvas.RecordsOf(DrawKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points, (std::vector<Point>{{2, 8}, {10, 8}}));
    EXPECT_EQ(lines[0].Area, (Rect{2, 8, 10, 9}));
    EXPECT_EQ(lines[1].Area, (Rect{10, 5, 11, 9}));
}

TEST(FakeCanvasTest, MeasuringIsCountedNotRecorded) {
    FakeCanvas canvas;
    Rect rect{0, 0, 100, 20};
    canvas.TextExtent("gh");
    canvas.DrawText("abc", rect, DT_SINGLELINE | DT_CALCRECT);
    canvas.DrawText("abc", rect, DT_SINGLELINE);
    EXPECT_EQ(canvas.MeasureCount(), 2);
    EXPECT_EQ(canvas.Records().size(), 1u);
    canvas.ClearRecords();
    EXPECT_EQ(canvas.MeasureCount(), 0);
    EXPECT_TRUE(canvas.Records().empty());
}

TEST(FakeCanvasTest, BitmapsRecordWhereTheyLand) {
    FakeCanvas canvas;
    const Bitmap bitmap(16, 8);
    canvas.DrawBitmap(5, 6, bitmap);
    canvas.StretchDrawBitmap({0, 0, 40, 20}, bitmap);
    ASSERT_EQ(canvas.Records().size(), 2u);
    EXPECT_EQ(canvas.Records()[0].Kind, DrawKind::Bitmap);
    EXPECT_EQ(canvas.Records()[0].Area, (Rect{5, 6, 21, 14}));
    EXPECT_EQ(canvas.Records()[1].Kind, DrawKind::StretchBitmap);
    EXPECT_EQ(canvas.Records()[1].Area, (Rect{0, 0, 40, 20}));
    EXPECT_EQ(canvas.Records()[1].BitmapSize, (Size{16, 8}));
}

} // namespace
} // namespace velmora
