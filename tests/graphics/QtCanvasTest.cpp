#include "graphics/qt/QtCanvas.h"

#include "graphics/qt/QtConversions.h"
#include "graphics/qt/QtFonts.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "tests/graphics/CanvasConformance.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>
#include <QWidget>
#include <functional>

namespace velmora {
namespace {

using testkit::InkBounds;
using testkit::InkCount;
using testkit::QtTest;
using testkit::WhiteImage;

constexpr TextFormat kRun = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;

FontState Sans(std::int32_t size = 12) {
    FontState font;
    font.Name = "Arial";
    font.Size = size;
    font.Color = clBlack;
    return font;
}

// Draws on a fresh white image through a QtCanvas set to `font`.
QImage Render(int width, int height, const FontState& font, const std::function<void(QtCanvas&)>& draw,
              int pixelsPerInch = 96, const QStyle* style = nullptr) {
    QImage image = WhiteImage(width, height, pixelsPerInch);
    QPainter painter(&image);
    QtCanvas canvas(painter, style);
    canvas.SetFont(font);
    canvas.SetBrushColor(clNone);
    draw(canvas);
    painter.end();
    return image;
}

QImage RenderText(const std::string& text, const Rect& rect, TextFormat format,
                  const FontState& font = Sans()) {
    return Render(rect.Right + 60, rect.Bottom + 20, font, [&](QtCanvas& canvas) {
        Rect r = rect;
        canvas.DrawText(text, r, format);
    });
}

class QtCanvasTest : public QtTest {};

SurfacePixels PaintOnQt(Size size, const std::function<void(Canvas&)>& draw) {
    QImage image = WhiteImage(size.Width, size.Height, 96);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        draw(canvas);
    }
    return [image](int x, int y) {
        return FromQColor(image.pixelColor(x, y));
    };
}

INSTANTIATE_TEST_SUITE_P(Qt, CanvasConformanceTest, ::testing::Values(&PaintOnQt));
INSTANTIATE_TEST_SUITE_P(Qt, CanvasPixelConformanceTest, ::testing::Values(&PaintOnQt));

TEST_F(QtCanvasTest, TextSitsOnTheBottomOfItsRectangle) {
    const Rect rect{10, 10, 200, 60};
    const QImage image = RenderText("Hxg", rect, kRun);
    const Rect ink = InkBounds(image);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, rect.Left);
    EXPECT_GT(ink.Top, rect.Top + 20) << "bottom alignment leaves the top of a 50-pixel rectangle empty";
    EXPECT_LE(ink.Bottom, rect.Bottom);
    EXPECT_GE(ink.Bottom, rect.Bottom - 3) << "the descender of g reaches the bottom";
}

TEST_F(QtCanvasTest, MeasuresAsItDraws) {
    struct Case {
        const char* name;
        std::string text;
        std::string sameWidthAs; // measured with TextExtent
        TextFormat format;
    };
    const Case cases[] = {
        {"double ampersand shows one", "a&&b", "a&b", DT_SINGLELINE},
        {"prefix ampersand takes no room", "&Open", "Open", DT_SINGLELINE},
        {"no prefix", "a&b", "a&b", DT_SINGLELINE | DT_NOPREFIX},
        {"euro sign", "\x80", "\x80", DT_SINGLELINE},
    };
    for (const Case& c : cases) {
        Render(10, 10, Sans(), [&](QtCanvas& canvas) {
            Rect rect{5, 5, 500, 100};
            canvas.DrawText(c.text, rect, c.format | DT_CALCRECT);
            EXPECT_EQ(rect.Width(), canvas.TextWidth(c.sameWidthAs)) << c.name;
            EXPECT_EQ(rect.Height(), canvas.Metrics().Height) << c.name;
            EXPECT_EQ(canvas.TextHeight(c.text), canvas.TextExtent(c.text).Height) << c.name;
            EXPECT_GT(rect.Width(), 0) << c.name;
        });
    }
}

TEST_F(QtCanvasTest, RunsAreAsWideAsTheirPartsAndDrawnWhereMeasured) {
    // The markup measures a line run by run and draws each run where the last one ended: widths must
    // add up, or words would overlap or drift apart.
    struct Case {
        std::string left, right;
        bool bold;
    };
    const Case cases[] = {
        {"AV", "AV", false}, {"Te", "xt", false},         {"fi", "ll", false},
        {"W", "ave ", true}, {"caf\xE9", " \x80", false},
    };
    for (const Case& c : cases) {
        FontState font = Sans(14);
        font.Bold = c.bold;
        std::int32_t whole = 0;
        std::int32_t parts = 0;
        std::int32_t inked = 0; // without trailing spaces
        const QImage image = Render(400, 60, font, [&](QtCanvas& canvas) {
            whole = canvas.TextWidth(c.left + c.right);
            parts = canvas.TextWidth(c.left) + canvas.TextWidth(c.right);
            const std::string text = c.left + c.right;
            inked = canvas.TextWidth(text.substr(0, text.find_last_not_of(' ') + 1));
            Rect rect{20, 0, 380, 50};
            canvas.DrawText(c.left + c.right, rect, kRun);
        });
        EXPECT_EQ(whole, parts) << c.left << c.right;
        const Rect ink = InkBounds(image);
        EXPECT_GE(ink.Left, 19) << c.left << c.right;
        EXPECT_LE(ink.Right, 20 + inked + 2) << c.left << c.right;
        EXPECT_GE(ink.Right, 20 + inked - 4) << c.left << c.right;
    }
}

TEST_F(QtCanvasTest, TabsExpandToStopsOfEightAverageCharacters) {
    Render(10, 10, Sans(), [&](QtCanvas& canvas) {
        const std::int32_t stop = 8 * canvas.Metrics().AverageCharWidth;
        Rect rect{0, 0, 1000, 100};
        canvas.DrawText("a\tb", rect, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
        EXPECT_EQ(rect.Width(), stop + canvas.TextWidth("b"));
    });
}

TEST_F(QtCanvasTest, EndEllipsisShowsDotsInsideTheRectangle) {
    const Rect rect{10, 10, 70, 40};
    const std::string text = "Velmora repairs cue sheets";
    const QImage cut = RenderText(text, rect, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS | DT_NOCLIP);
    const Rect ink = InkBounds(cut);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, rect.Right);
    // The last few columns hold the three dots: ink only near the baseline, none at letter height.
    int dotsWidth = 0;
    Render(10, 10, Sans(), [&](QtCanvas& canvas) { dotsWidth = canvas.TextWidth("..."); });
    const Rect tail{ink.Right - dotsWidth + 2, rect.Top, ink.Right, rect.Bottom};
    const Rect tailInk = InkBounds(cut, Qt::white, tail);
    ASSERT_FALSE(tailInk.IsEmpty());
    EXPECT_LE(tailInk.Height(), 4) << "dots, not letters";
    const QImage whole = RenderText(text, rect, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    EXPECT_GT(InkBounds(whole).Right, rect.Right + 20) << "without the flag the text runs on";
}

TEST_F(QtCanvasTest, ClipsToTheRectangleUnlessNoClip) {
    const Rect narrow{10, 10, 30, 40};
    EXPECT_LE(InkBounds(RenderText("Wide words here", narrow, kRun)).Right, narrow.Right);
    EXPECT_GT(InkBounds(RenderText("Wide words here", narrow, kRun | DT_NOCLIP)).Right, narrow.Right + 20);
    const QImage clipped = Render(200, 60, Sans(), [](QtCanvas& canvas) {
        canvas.SetClipRect(Rect{0, 0, 40, 60});
        Rect rect{10, 10, 190, 50};
        canvas.DrawText("Wide words here", rect, kRun);
        canvas.SetClipRect(std::nullopt);
        Rect below{10, 40, 190, 60};
        canvas.DrawText("Wide words here", below, kRun);
    });
    EXPECT_LE(InkBounds(clipped, Qt::white, {0, 0, 200, 40}).Right, 40);
    EXPECT_GT(InkBounds(clipped, Qt::white, {0, 41, 200, 60}).Right, 100) << "clip removed";
}

TEST_F(QtCanvasTest, PrefixUnderlinesTheNextCharacter) {
    const Rect rect{10, 10, 200, 50};
    const QImage plain = RenderText("Open", rect, kRun);
    const QImage marked = RenderText("&Open", rect, kRun);
    const QImage doubled = RenderText("&&Open", rect, kRun);
    int oWidth = 0;
    Render(10, 10, Sans(), [&](QtCanvas& canvas) { oWidth = canvas.TextWidth("O"); });
    // Every pixel the "&" changes lies under the O, below the O's own ink.
    const Rect oInk = InkBounds(plain, Qt::white, {rect.Left, rect.Top, rect.Left + oWidth, rect.Bottom});
    Rect changed{};
    int changes = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != marked.pixel(x, y)) {
                ++changes;
                changed = changes == 1
                              ? Rect{x, y, x + 1, y + 1}
                              : Rect{std::min(changed.Left, x), std::min(changed.Top, y),
                                     std::max(changed.Right, x + 1), std::max(changed.Bottom, y + 1)};
            }
        }
    }
    ASSERT_GT(changes, 3) << "O is underlined";
    EXPECT_GE(changed.Left, rect.Left);
    EXPECT_LE(changed.Right, rect.Left + oWidth);
    EXPECT_GE(changed.Top, oInk.Bottom);
    EXPECT_GT(InkBounds(doubled).Right, InkBounds(plain).Right + 3) << "&& shows an ampersand";
}

TEST_F(QtCanvasTest, UnderlineAndStrikeOutSpanTheRun) {
    struct Case {
        bool underline;
        bool strikeOut;
    };
    const Rect rect{10, 10, 300, 50};
    const QImage plain = RenderText("run on", rect, kRun);
    const Rect letters = InkBounds(plain);
    // A decoration is a row of ink as wide as the run, where the plain text leaves gaps.
    const auto fullRows = [&](const QImage& image) {
        std::vector<int> rows;
        for (int y = rect.Top; y < rect.Bottom; ++y) {
            if (InkCount(image, Qt::white, {letters.Left + 1, y, letters.Right - 1, y + 1}) >=
                letters.Width() - 2) {
                rows.push_back(y);
            }
        }
        return rows;
    };
    ASSERT_TRUE(fullRows(plain).empty());
    const Case cases[] = {{true, false}, {false, true}};
    for (const Case& c : cases) {
        FontState font = Sans();
        font.Underline = c.underline;
        font.StrikeOut = c.strikeOut;
        const std::vector<int> rows = fullRows(RenderText("run on", rect, kRun, font));
        SCOPED_TRACE(c.underline ? "underline" : "strike-out");
        EXPECT_FALSE(rows.empty());
        if (rows.empty()) {
            continue;
        }
        if (c.underline) {
            EXPECT_GE(rows.front(), letters.Bottom - 4) << "under the letters";
        } else {
            EXPECT_GT(rows.front(), letters.Top + 2) << "through the letters";
            EXPECT_LT(rows.back(), letters.Bottom - 2);
        }
    }
}

TEST_F(QtCanvasTest, TextBackgroundFollowsTheBrush) {
    struct Case {
        TColor brush;
        QColor expected;
    };
    const Case cases[] = {
        {clYellow, QColor(255, 255, 0)}, {clNone, Qt::white}, {clHighlight, QColor(10, 36, 106)}};
    for (const Case& c : cases) {
        const QImage image = Render(200, 60, Sans(), [&](QtCanvas& canvas) {
            canvas.SetBrushColor(c.brush);
            Rect rect{10, 10, 190, 50};
            canvas.DrawText("a", rect, kRun);
        });
        // Inside the text cell (bottom-aligned, so near the bottom) but clear of the glyph.
        EXPECT_EQ(image.pixelColor(10, 48), c.expected) << std::hex << c.brush;
        EXPECT_EQ(image.pixelColor(150, 48), QColor(Qt::white)) << "the cell ends with the text";
    }
}

TEST_F(QtCanvasTest, DecodesWindows1252) {
    // 0x80 is the euro sign, not a Latin-1 control: it must look like U+20AC drawn directly.
    const QImage euro = RenderText("\x80", {10, 10, 100, 50}, kRun);
    QImage direct = WhiteImage(euro.width(), euro.height());
    {
        QPainter painter(&direct);
        QtCanvas canvas(painter);
        canvas.SetFont(Sans());
        painter.setFont(canvas.CurrentQFont());
        painter.setPen(Qt::black);
        const int baseline = 50 - canvas.Metrics().Descent;
        painter.drawText(QPoint(10, baseline), QString(QChar(0x20AC)));
    }
    ASSERT_GT(InkCount(euro), 10);
    EXPECT_EQ(euro, direct);
}

// A Japanese line in UTF-8 draws each character's own glyph, from whatever installed font has it, where
// the widths put it: not the box of a missing glyph, and not the Windows-1252 reading of its bytes.
TEST_F(QtCanvasTest, Utf8CjkLineDrawsItsGlyphs) {
    FontState utf8 = Sans(12);
    utf8.Encoding = TextEncoding::Utf8;
    const std::string line = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"; // 日本語
    const Rect rect{10, 10, 200, 50};
    const QImage drawn = RenderText(line, rect, kRun, utf8);
    const QImage boxes = RenderText("\xF4\x8F\xBF\xBD\xF4\x8F\xBF\xBD\xF4\x8F\xBF\xBD", rect, kRun, utf8);
    const QImage bytes = RenderText(line, rect, kRun, Sans(12));
    ASSERT_GT(InkCount(drawn), 60);
    EXPECT_NE(drawn, boxes);
    EXPECT_NE(drawn, bytes);

    std::int32_t width = 0;
    std::int32_t sum = 0;
    {
        QImage scratch = WhiteImage(10, 10);
        QPainter painter(&scratch);
        QtCanvas canvas(painter);
        canvas.SetFont(utf8);
        width = canvas.TextWidth(line);
        for (const std::string character : {"\xE6\x97\xA5", "\xE6\x9C\xAC", "\xE8\xAA\x9E"}) {
            sum += canvas.TextWidth(character);
        }
    }
    EXPECT_EQ(width, sum) << "widths add up character by character";
    const Rect ink = InkBounds(drawn);
    EXPECT_GE(ink.Left, rect.Left);
    EXPECT_LE(ink.Right, rect.Left + width + 1);
    EXPECT_GT(ink.Width(), width * 2 / 3) << "three glyphs across the measured width";
}

TEST_F(QtCanvasTest, SymbolFontBulletIsABullet) {
    FontState symbol = Sans(12);
    symbol.Name = "Symbol";
    const QImage bullet = RenderText("\xB7", {10, 10, 60, 50}, DT_SINGLELINE, symbol);
    const QImage middleDot = RenderText("\xB7", {10, 10, 60, 50}, DT_SINGLELINE, Sans(12));
    ASSERT_GT(InkCount(middleDot), 0);
    EXPECT_GT(InkCount(bullet), 2 * InkCount(middleDot)) << "U+2022 is a big round bullet";
    EXPECT_GE(InkBounds(bullet).Width(), 4);
}

TEST_F(QtCanvasTest, EscapementTurnsTextCounterClockwise) {
    FontState rotated = Sans(12);
    rotated.Escapement = 900;
    const QImage image = RenderText("Rotated", {40, 100, 200, 140}, DT_SINGLELINE, rotated);
    const Rect ink = InkBounds(image);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "the run stands upright";
    EXPECT_LE(ink.Bottom, 101) << "it climbs from the cell's top-left corner";
    EXPECT_GE(ink.Left, 40);
}

TEST_F(QtCanvasTest, StyledFocusRectMarksTheBorder) {
    const QImage image = Render(
        60, 40, Sans(),
        [](QtCanvas& canvas) {
            canvas.DrawFocusRect({10, 10, 50, 30});
        },
        96, QApplication::style());
    const Rect ink = InkBounds(image);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 9);
    EXPECT_LE(ink.Right, 51);
    EXPECT_GE(ink.Top, 9);
    EXPECT_LE(ink.Bottom, 31);
    // Styles may tint the inside, but the frame is what stands out.
    EXPECT_LT(qGray(image.pixel(10, 20)), qGray(image.pixel(30, 20)));
    EXPECT_LT(qGray(image.pixel(30, 10)), qGray(image.pixel(30, 20)));
}

TEST_F(QtCanvasTest, PlainFocusRectInvertsEveryOtherBorderPixel) {
    const Rect frame{10, 10, 50, 30};
    const QImage once = Render(60, 40, Sans(), [&](QtCanvas& canvas) { canvas.DrawFocusRect(frame); });
    EXPECT_EQ(InkBounds(once), frame);
    EXPECT_EQ(InkCount(once, Qt::white, frame.Inflate(-1, -1)), 0);
    EXPECT_EQ(once.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(once.pixelColor(11, 10), QColor(Qt::white));
    EXPECT_EQ(once.pixelColor(12, 10), QColor(Qt::black));
    // Like GDI's, the frame inverts: drawn twice it is gone.
    const QImage twice = Render(60, 40, Sans(), [&](QtCanvas& canvas) {
        canvas.SetBrushColor(clYellow);
        canvas.FillRect({0, 0, 60, 40});
        canvas.DrawFocusRect(frame);
        canvas.DrawFocusRect(frame);
    });
    EXPECT_EQ(InkCount(twice, QColor(255, 255, 0)), 0);
}

TEST_F(QtCanvasTest, ScrollArrowsPointTheirWay) {
    struct Case {
        ScrollArrow arrow;
        const QStyle* style;
        bool tipAtTop;
    };
    const Case cases[] = {
        {ScrollArrow::Up, nullptr, true},
        {ScrollArrow::Down, nullptr, false},
        {ScrollArrow::Up, QApplication::style(), true},
        {ScrollArrow::Down, QApplication::style(), false},
    };
    for (const Case& c : cases) {
        const QImage image = Render(
            40, 40, Sans(),
            [&](QtCanvas& canvas) {
                canvas.DrawScrollArrow({10, 10, 30, 30}, c.arrow);
            },
            96, c.style);
        EXPECT_EQ(InkCount(image, Qt::white, {0, 0, 40, 10}) + InkCount(image, Qt::white, {0, 30, 40, 40}),
                  0);
        // The arrow is what differs from the button's face: its widest row lies opposite the tip.
        const QColor button = image.pixelColor(12, 12);
        const Rect arrow = InkBounds(image, button, {12, 12, 28, 28});
        EXPECT_FALSE(arrow.IsEmpty()) << (c.style != nullptr);
        const auto rowInk = [&](int y) {
            return InkCount(image, button, {12, y, 28, y + 1});
        };
        EXPECT_EQ(rowInk(arrow.Top) < rowInk(arrow.Bottom - 1), c.tipAtTop) << (c.style != nullptr);
    }
}

TEST_F(QtCanvasTest, FontsScaleWithTheDeviceResolution) {
    int at96 = 0;
    int at144 = 0;
    Render(10, 10, Sans(12), [&](QtCanvas& canvas) {
        EXPECT_EQ(canvas.PixelsPerInchX(), 96);
        at96 = canvas.TextHeight("gh");
    });
    Render(
        10, 10, Sans(12),
        [&](QtCanvas& canvas) {
            EXPECT_EQ(canvas.PixelsPerInchY(), 144);
            at144 = canvas.TextHeight("gh");
        },
        144);
    EXPECT_NEAR(at144 * 2, at96 * 3, 4);
}

TEST_F(QtCanvasTest, WindowsFontNamesFindInstalledFonts) {
    struct Case {
        std::string name;
        QString family;
    };
    const Case cases[] = {
        {"MS Sans Serif", "Liberation Sans"},
        {"ARIAL", "Liberation Sans"}, // markup hands FACE values in capitals
        {"Symbol", "DejaVu Sans"},
        {"No Such Font At All", "Liberation Sans"},
    };
    for (const Case& c : cases) {
        FontState font = Sans();
        font.Name = c.name;
        EXPECT_EQ(QFontInfo(ToQFont(font, 96)).family(), c.family) << c.name;
    }
}

TEST_F(QtCanvasTest, HugeFontSizesStayBounded) {
    struct Case {
        std::int32_t size;
        int pixels;
    };
    const Case cases[] = {{12, 16}, {0, 11}, {-12, 16}, {2147483647, 1000}, {-2147483647 - 1, 1000}};
    for (const Case& c : cases) {
        FontState font = Sans(c.size);
        EXPECT_EQ(ToQFont(font, 96).pixelSize(), c.pixels) << c.size;
    }
}

class PaintedWidget : public QWidget {
public:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QtCanvas canvas(painter, style());
        canvas.SetBrushColor(clWhite);
        canvas.FillRect({0, 0, width(), height()});
        canvas.SetBrushColor(clLime);
        canvas.FillRect({5, 5, 15, 15});
        canvas.SetFont(Sans());
        canvas.SetBrushColor(clNone);
        Rect rect{20, 0, width(), height()};
        canvas.DrawText("Widget", rect, kRun);
    }
};

TEST_F(QtCanvasTest, DrawsOnAWidget) {
    PaintedWidget widget;
    widget.resize(100, 30);
    const QImage image = widget.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::white));
    EXPECT_FALSE(InkBounds(image, Qt::white, {20, 0, 100, 30}).IsEmpty());
}

TEST_F(QtCanvasTest, ConversionsKeepPixelsAndColours) {
    Bitmap bitmap(3, 2, 0x80102030);
    bitmap.SetPixel(2, 1, 0xFFFFFFFF);
    EXPECT_EQ(FromQImage(ToQImage(bitmap)), bitmap);
    EXPECT_EQ(ToQColor(clBtnShadow), QColor(128, 128, 128));
    EXPECT_FALSE(ToQColor(clNone).isValid());
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), RGBColor(1, 2, 3));
    EXPECT_EQ(FromQRect(ToQRect({-3, 4, 10, 20})), (Rect{-3, 4, 10, 20}));
    EXPECT_EQ(FromWindows1252("caf\xE9 \x80"), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
}

} // namespace
} // namespace velmora
