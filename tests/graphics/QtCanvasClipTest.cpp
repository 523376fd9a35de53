#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/testing/QtTestSupport.h"

#include <QPainter>
#include <string>

namespace velmora {
namespace {

using testkit::QtTest;
using testkit::WhiteImage;

constexpr TextFormat kRun = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr int kImageWidth = 160;
constexpr int kImageHeight = 60;

struct FontCase {
    const char* name;
    std::int32_t size;
    bool bold;
    bool italic;
    bool underline;
    bool strikeOut;
};

const FontCase kFonts[] = {
    {"MS Sans Serif", 8, false, false, false, false}, {"Arial", 8, true, false, false, false},
    {"Arial", 14, false, true, false, false},         {"Times New Roman", 13, false, true, true, false},
    {"Courier New", 10, false, false, false, true},   {"Symbol", 10, false, false, false, false},
};

FontState FontOf(const FontCase& c) {
    FontState font;
    font.Name = c.name;
    font.Size = c.size;
    font.Color = clBlack;
    font.Bold = c.bold;
    font.Italic = c.italic;
    font.Underline = c.underline;
    font.StrikeOut = c.strikeOut;
    return font;
}

// Draws text whose cell is exactly `rect` (bottom-aligned, as markup runs are), clipped to it or not.
QImage Draw(const FontState& font, const std::string& text, const Rect& rect, TextFormat format) {
    QImage image = WhiteImage(kImageWidth, kImageHeight);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SetFont(font);
    canvas.SetBrushColor(clNone);
    Rect r = rect;
    canvas.DrawText(text, r, format);
    return image;
}

QImage OnlyInside(QImage image, const Rect& rect) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!rect.Contains({x, y})) {
                image.setPixel(x, y, qRgb(255, 255, 255));
            }
        }
    }
    return image;
}

class QtCanvasClipTest : public QtTest {};

// Whether or not the canvas sets a clip for a run, what it shows is the unclipped text cut at the
// rectangle: overhangs of italics, descenders and decorations included.
TEST_F(QtCanvasClipTest, ClippedTextShowsExactlyTheInkInsideItsRectangle) {
    const std::string words[] = {"Wj", "fff", "(q)", "_y", "\xC7\xE7", "T\xF0", "\xB7", "x", "a&&b", "a\tb"};
    for (const FontCase& fontCase : kFonts) {
        const FontState font = FontOf(fontCase);
        std::vector<std::string> texts(std::begin(words), std::end(words));
        for (int code = 0x21; code <= 0xFF; ++code) {
            texts.emplace_back(1, static_cast<char>(code));
        }
        for (const std::string& text : texts) {
            QImage measuring = WhiteImage(1, 1);
            QPainter painter(&measuring);
            QtCanvas canvas(painter);
            canvas.SetFont(font);
            Rect cell{40, 10, 40, 10};
            canvas.DrawText(text, cell, kRun | DT_CALCRECT);
            painter.end();
            const Rect rect{40, 20, cell.Right, 20 + cell.Height()};
            const QImage clipped = Draw(font, text, rect, kRun);
            const QImage expected = OnlyInside(Draw(font, text, rect, kRun | DT_NOCLIP), rect);
            EXPECT_TRUE(clipped == expected) << fontCase.name << " " << fontCase.size << " code "
                                             << static_cast<int>(static_cast<unsigned char>(text[0]));
        }
    }
}

// A run that fits and one that is cut leave the painter as they found it.
TEST_F(QtCanvasClipTest, DrawingTextLeavesThePainterAsItWas) {
    const struct {
        const char* text;
        Rect rect;
    } cases[] = {{"fits", {10, 10, 150, 50}}, {"cut short by its rectangle", {10, 10, 30, 50}}};
    for (const auto& c : cases) {
        QImage image = WhiteImage(kImageWidth, kImageHeight);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::green, 3));
        painter.setClipRect(QRect(0, 0, 120, 60));
        const QTransform transform = painter.transform();
        QtCanvas canvas(painter);
        FontState font = FontOf(kFonts[0]);
        font.Color = clRed;
        canvas.SetFont(font);
        Rect r = c.rect;
        canvas.DrawText(c.text, r, kRun);
        EXPECT_EQ(painter.pen(), QPen(Qt::green, 3)) << c.text;
        EXPECT_EQ(painter.clipBoundingRect().toAlignedRect(), QRect(0, 0, 120, 60)) << c.text;
        EXPECT_EQ(painter.transform(), transform) << c.text;
    }
}

} // namespace
} // namespace velmora
