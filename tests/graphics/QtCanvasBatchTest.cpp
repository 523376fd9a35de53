#include "graphics/Bitmap.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/QtConversions.h"
#include "graphics/qt/testing/QtTestSupport.h"

#include <QPainter>
#include <functional>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::InkCount;
using testkit::QtTest;
using testkit::WhiteImage;

constexpr TextFormat kRun = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr int kImageWidth = 240;
constexpr int kImageHeight = 80;

using Step = std::function<void(QtCanvas&)>;

struct Look {
    TColor color = clBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::int32_t escapement = 0;
};

// A word whose cell starts at (x, top), drawn as markup draws a run; a `right` inside the word clips it.
Step Word(std::string text, std::int32_t x, std::int32_t top, Look look = {}, std::int32_t right = 0) {
    return [=](QtCanvas& canvas) {
        FontState font;
        font.Name = "Arial";
        font.Size = 14;
        font.Color = look.color;
        font.Bold = look.bold;
        font.Italic = look.italic;
        font.Underline = look.underline;
        font.StrikeOut = look.strikeOut;
        font.Escapement = look.escapement;
        canvas.SetFont(font);
        Rect rect{x, top, kImageWidth, kImageHeight};
        canvas.DrawText(text, rect, kRun | DT_CALCRECT);
        // Room on the right for italic overhangs, which would otherwise be clipped.
        rect.Right = right != 0 ? right : kImageWidth;
        canvas.DrawText(text, rect, kRun);
    };
}

Step Fill(Rect rect, TColor color) {
    return [=](QtCanvas& canvas) {
        canvas.SetBrushColor(color);
        canvas.FillRect(rect);
        canvas.SetBrushColor(clNone);
    };
}

QImage Draw(const std::vector<Step>& steps, bool batched) {
    QImage image = WhiteImage(kImageWidth, kImageHeight);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SetBrushColor(clNone);
    if (batched) {
        const TextBatch batch(canvas);
        for (const Step& step : steps) {
            step(canvas);
        }
    } else {
        for (const Step& step : steps) {
            step(canvas);
        }
    }
    painter.end();
    return image;
}

class QtCanvasBatchTest : public QtTest {};

TEST_F(QtCanvasBatchTest, BatchedTextGivesThePixelsOfTextDrawnRunByRun) {
    const Look italic{.italic = true};
    const Look red{.color = clRed, .italic = true};
    const Look blue{.color = clBlue, .italic = true};
    const Look bold{.bold = true};
    const Look underlined{.color = clNavy, .underline = true};
    const Look struck{.strikeOut = true};
    const Look rotated{.escapement = 900};
    Bitmap square(12, 12, 0xFF00A000);
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"words of one face and colour",
         {Word("Velmora", 4, 4), Word("repairs", 74, 4), Word("sheets", 140, 4)}},
        {"italic words whose ink overlaps", {Word("Wavy", 4, 4, italic), Word("fifty", 44, 4, italic)}},
        {"a colour change where the ink overlaps",
         {Word("Wavy", 4, 4, red), Word("fifty", 44, 4, blue), Word("Wavy", 80, 4, red)}},
        {"a change of face between words",
         {Word("plain", 4, 4), Word("bold", 50, 4, bold), Word("plain", 94, 4)}},
        {"decorations over held words",
         {Word("one", 4, 4), Word("link", 40, 4, underlined), Word("gone", 80, 4, struck),
          Word("two", 130, 4)}},
        {"a prefix mark", {Word("Open", 4, 4), Word("Fi&le", 50, 4), Word("now", 90, 4)}},
        {"a background over the previous word's ink",
         {Word("Wavy", 4, 4, italic), [](QtCanvas& canvas) { canvas.SetBrushColor(clYellow); },
          Word("fifty", 40, 4, italic), [](QtCanvas& canvas) { canvas.SetBrushColor(clNone); },
          Word("more", 90, 4)}},
        {"a fill over a held word",
         {Word("covered", 4, 4), Fill({20, 10, 50, 20}, clAqua), Word("after", 90, 4)}},
        {"a line across a held word",
         {Word("crossed", 4, 4),
          [](QtCanvas& canvas) {
              canvas.SetPenColor(clRed);
              canvas.MoveTo(0, 16);
              canvas.LineTo(100, 16);
          },
          Word("after", 100, 4)}},
        {"a picture over a held word",
         {Word("pictured", 4, 4), [&square](QtCanvas& canvas) { canvas.DrawBitmap(20, 8, square); },
          Word("after", 100, 4)}},
        {"a clipped run between held ones",
         {Word("before", 4, 4), Word("clipped", 70, 4, {}, 100), Word("after", 120, 4)}},
        {"a clip set and cleared between words",
         {Word("before", 4, 4),
          [](QtCanvas& canvas) {
              canvas.SetClipRect(Rect{0, 0, 120, 14});
          },
          Word("halved", 70, 4), [](QtCanvas& canvas) { canvas.SetClipRect(std::nullopt); },
          Word("whole", 140, 4)}},
        {"a rotated run between words",
         {Word("before", 4, 40), Word("up", 90, 60, rotated), Word("after", 140, 40)}},
        {"a nested batch",
         {Word("outer", 4, 4),
          [](QtCanvas& canvas) {
              const TextBatch inner(canvas);
              Word("inner", 60, 4)(canvas);
          },
          Fill({0, 12, 240, 14}, clLime), Word("last", 120, 4)}},
    };
    for (const Case& c : cases) {
        const QImage runByRun = Draw(c.steps, false);
        EXPECT_GT(InkCount(runByRun), 50) << c.name;
        EXPECT_EQ(Draw(c.steps, true), runByRun) << c.name;
    }
}

// Pixels of exactly that colour, as the solid middle of a stroke is.
int CountOf(const QImage& image, QColor color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

TEST_F(QtCanvasBatchTest, EveryRunOfABatchKeepsItsColour) {
    struct Case {
        TColor first;
        TColor second;
    };
    const Case cases[] = {{clRed, clBlue}, {clBlue, clRed}, {clBlack, clLime}};
    for (const Case& c : cases) {
        const QImage image =
            Draw({Word("IIII", 4, 4, {.color = c.first}), Word("IIII", 100, 4, {.color = c.second})}, true);
        EXPECT_GT(CountOf(image, ToQColor(c.first)), 20) << std::hex << c.first;
        EXPECT_GT(CountOf(image, ToQColor(c.second)), 20) << std::hex << c.second;
    }
}

} // namespace
} // namespace velmora
