// GdiCanvas on a memory DC, checked as a person would look at the picture.
#include "graphics/win32/GdiCanvas.h"

#include "graphics/win32/GdiHeaders.h"
#include "graphics/win32/testing/GdiSurface.h"
#include "tests/graphics/CanvasConformance.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace velmora {
namespace {

using testkit::GdiSurface;

constexpr TextFormat kRun = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;

FontState Sans(std::int32_t size = 12) {
    FontState font;
    font.Name = testkit::TestFontFamily();
    font.Size = size;
    font.Color = clBlack;
    return font;
}

// Draws on a fresh white surface through a GdiCanvas set to `font`, with a clear brush.
std::unique_ptr<GdiSurface> Render(int width, int height, const FontState& font,
                                   const std::function<void(GdiCanvas&)>& draw) {
    auto surface = std::make_unique<GdiSurface>(width, height);
    GdiCanvas canvas(surface->Dc());
    canvas.SetFont(font);
    canvas.SetBrushColor(clNone);
    draw(canvas);
    return surface;
}

std::unique_ptr<GdiSurface> RenderText(const std::string& text, const Rect& rect, TextFormat format,
                                       const FontState& font = Sans()) {
    return Render(rect.Right + 60, rect.Bottom + 20, font, [&](GdiCanvas& canvas) {
        Rect r = rect;
        canvas.DrawText(text, r, format);
    });
}

SurfacePixels PaintOnGdi(Size size, const std::function<void(Canvas&)>& draw) {
    auto surface = std::make_shared<GdiSurface>(size.Width, size.Height);
    {
        GdiCanvas canvas(surface->Dc());
        draw(canvas);
    }
    return [surface](int x, int y) {
        return surface->Pixel(x, y);
    };
}

INSTANTIATE_TEST_SUITE_P(Gdi, CanvasConformanceTest, ::testing::Values(&PaintOnGdi));
INSTANTIATE_TEST_SUITE_P(Gdi, CanvasPixelConformanceTest, ::testing::Values(&PaintOnGdi));

TEST(GdiCanvasTest, TextSitsOnTheBottomOfItsRectangleAndMeasuresAsItDraws) {
    const Rect rect{10, 10, 200, 60};
    const Rect ink = RenderText("Hxg", rect, kRun)->InkBounds();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, rect.Left);
    EXPECT_GT(ink.Top, rect.Top + 20) << "bottom alignment leaves the top of a 50-pixel rectangle empty";
    EXPECT_LE(ink.Bottom, rect.Bottom);
    EXPECT_GE(ink.Bottom, rect.Bottom - 3) << "the descender of g reaches the bottom";

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
        {"bottom-aligned run", "run", "run", kRun & ~DT_EXTERNALLEADING},
    };
    for (const Case& c : cases) {
        Render(10, 10, Sans(), [&](GdiCanvas& canvas) {
            Rect measured{5, 5, 500, 100};
            const std::int32_t height = canvas.DrawText(c.text, measured, c.format | DT_CALCRECT);
            EXPECT_EQ(measured.Width(), canvas.TextWidth(c.sameWidthAs)) << c.name;
            EXPECT_EQ(measured.Height(), canvas.Metrics().Height) << c.name;
            EXPECT_EQ(height, canvas.Metrics().Height) << c.name;
            EXPECT_GT(measured.Width(), 0) << c.name;
        });
    }
}

TEST(GdiCanvasTest, UnderlineAndStrikeOutSpanTheRun) {
    const Rect rect{10, 10, 300, 50};
    const std::unique_ptr<GdiSurface> plain = RenderText("run on", rect, kRun);
    const Rect letters = plain->InkBounds();
    // A decoration is a row of ink as wide as the run, where the plain text leaves gaps.
    const auto fullRows = [&](const GdiSurface& surface) {
        std::vector<int> rows;
        for (int y = rect.Top; y < rect.Bottom; ++y) {
            if (surface.InkCount(clWhite, {letters.Left + 1, y, letters.Right - 1, y + 1}) >=
                letters.Width() - 2) {
                rows.push_back(y);
            }
        }
        return rows;
    };
    ASSERT_TRUE(fullRows(*plain).empty());
    for (const bool underline : {true, false}) {
        FontState font = Sans();
        font.Underline = underline;
        font.StrikeOut = !underline;
        const std::vector<int> rows = fullRows(*RenderText("run on", rect, kRun, font));
        SCOPED_TRACE(underline ? "underline" : "strike-out");
        ASSERT_FALSE(rows.empty());
        if (underline) {
            EXPECT_GE(rows.front(), letters.Bottom - 4) << "under the letters";
        } else {
            EXPECT_GT(rows.front(), letters.Top + 2) << "through the letters";
            EXPECT_LT(rows.back(), letters.Bottom - 2);
        }
    }
}

TEST(GdiCanvasTest, EndEllipsisShowsDotsInsideTheRectangle) {
    const Rect rect{10, 10, 70, 40};
    const std::string text = "Velmora repairs cue sheets";
    const std::unique_ptr<GdiSurface> cut =
        RenderText(text, rect, DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS | DT_NOCLIP);
    const Rect ink = cut->InkBounds();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, rect.Right);
    // The last few columns hold the three dots: ink only near the baseline, none at letter height.
    int dotsWidth = 0;
    Render(10, 10, Sans(), [&](GdiCanvas& canvas) { dotsWidth = canvas.TextWidth("..."); });
    const Rect tailInk =
        cut->InkBounds(clWhite, {ink.Right - dotsWidth + 2, rect.Top, ink.Right, rect.Bottom});
    ASSERT_FALSE(tailInk.IsEmpty());
    EXPECT_LE(tailInk.Height(), 4) << "dots, not letters";
    const std::unique_ptr<GdiSurface> whole = RenderText(text, rect, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    EXPECT_GT(whole->InkBounds().Right, rect.Right + 20) << "without the flag the text runs on";
}

TEST(GdiCanvasTest, ClipsHold) {
    // Each call draws across x = 40; a clip to the left of it must hold for all of them.
    const Bitmap block(30, 10, ArgbFromColor(clRed));
    struct Call {
        const char* name;
        std::function<void(GdiCanvas&)> draw;
    };
    const Call calls[] = {
        {"text",
         [](GdiCanvas& c) {
             Rect r{10, 10, 190, 50};
             c.DrawText("Wide words here", r, kRun);
         }},
        {"rectangle",
         [](GdiCanvas& c) {
             c.SetBrushColor(clBlue);
             c.Rectangle({20, 10, 90, 30});
         }},
        {"fill",
         [](GdiCanvas& c) {
             c.SetBrushColor(clBlue);
             c.FillRect({20, 10, 90, 30});
         }},
        {"line",
         [](GdiCanvas& c) {
             c.MoveTo(0, 20);
             c.LineTo(150, 20);
         }},
        {"bitmap",
         [&block](GdiCanvas& c) {
             c.DrawBitmap(25, 5, block);
         }},
        {"stretched bitmap",
         [&block](GdiCanvas& c) {
             c.StretchDrawBitmap({20, 5, 120, 30}, block);
         }},
    };
    for (const Call& call : calls) {
        const std::unique_ptr<GdiSurface> clipped = Render(200, 60, Sans(), [&](GdiCanvas& canvas) {
            canvas.SetClipRect(Rect{0, 0, 40, 60});
            EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 40, 60})) << call.name;
            call.draw(canvas);
        });
        EXPECT_FALSE(clipped->InkBounds().IsEmpty()) << call.name;
        EXPECT_LE(clipped->InkBounds().Right, 40) << call.name;
        const std::unique_ptr<GdiSurface> free = Render(200, 60, Sans(), [&](GdiCanvas& canvas) {
            canvas.SetClipRect(Rect{0, 0, 40, 60});
            canvas.SetClipRect(std::nullopt);
            call.draw(canvas);
        });
        EXPECT_GT(free->InkBounds().Right, 45) << call.name << ": the clip is gone";
    }
    const Rect narrow{10, 10, 30, 40};
    EXPECT_LE(RenderText("Wide words here", narrow, kRun)->InkBounds().Right, narrow.Right);
    EXPECT_GT(RenderText("Wide words here", narrow, kRun | DT_NOCLIP)->InkBounds().Right, narrow.Right + 20);
}

TEST(GdiCanvasTest, EscapementTurnsTextCounterClockwiseAboutTheCellCorner) {
    FontState rotated = Sans(12);
    rotated.Escapement = 900;
    const Rect ink = RenderText("Rotated", {40, 100, 200, 140}, DT_SINGLELINE, rotated)->InkBounds();
    ASSERT_FALSE(ink.IsEmpty()) << "the run leaves its rectangle and is not clipped away";
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "the run stands upright";
    EXPECT_LE(ink.Bottom, 101) << "it climbs from the cell's top-left corner";
    EXPECT_GE(ink.Left, 40);
}

TEST(GdiCanvasTest, FocusRectInvertsEveryOtherBorderPixel) {
    const Rect frame{10, 10, 50, 30};
    const std::unique_ptr<GdiSurface> once = Render(60, 40, Sans(), [&](GdiCanvas& canvas) {
        // A red run on yellow, clipped away, leaves its colours in the device: the frame ignores them.
        canvas.SetFontColor(clRed);
        canvas.SetBrushColor(clYellow);
        Rect nowhere{};
        canvas.DrawText("run", nowhere, DT_SINGLELINE);
        canvas.DrawFocusRect(frame);
    });
    EXPECT_EQ(once->InkBounds(), frame);
    EXPECT_EQ(once->InkCount(clWhite, frame.Inflate(-1, -1)), 0);
    // GDI's checkerboard starts from the brush origin: pixels whose coordinates add up to an odd number.
    EXPECT_EQ(once->Pixel(10, 10), clWhite);
    EXPECT_EQ(once->Pixel(11, 10), clBlack);
    EXPECT_EQ(once->Pixel(12, 10), clWhite);
    EXPECT_EQ(once->Pixel(10, 11), clBlack);
    // It inverts, whatever the colours the canvas holds: drawn twice it is gone.
    const std::unique_ptr<GdiSurface> twice = Render(60, 40, Sans(), [&](GdiCanvas& canvas) {
        canvas.SetBrushColor(clYellow);
        canvas.SetFontColor(clRed);
        canvas.FillRect({0, 0, 60, 40});
        canvas.DrawFocusRect(frame);
        canvas.DrawFocusRect(frame);
    });
    EXPECT_EQ(twice->InkCount(clYellow), 0);
}

TEST(GdiCanvasTest, TextBackgroundFollowsTheBrush) {
    struct Case {
        TColor brush;
        TColor expected;
    };
    const Case cases[] = {{clYellow, clYellow}, {clNone, clWhite}, {clHighlight, RGBColor(10, 36, 106)}};
    for (const Case& c : cases) {
        const std::unique_ptr<GdiSurface> surface = Render(200, 60, Sans(), [&](GdiCanvas& canvas) {
            canvas.SetBrushColor(c.brush);
            Rect rect{10, 10, 190, 50};
            canvas.DrawText("a", rect, kRun);
        });
        // Inside the text cell (bottom-aligned, so near the bottom) but clear of the glyph.
        EXPECT_EQ(surface->Pixel(10, 48), c.expected) << std::hex << c.brush;
        EXPECT_EQ(surface->Pixel(150, 48), clWhite) << "the cell ends with the text";
    }
}

TEST(GdiCanvasTest, Windows1252TextShowsItsOwnCharacters) {
    // Bytes above 0x7F are read as Windows-1252 whatever the system's code page: the euro sign, the
    // quotes and é must look as the Unicode characters drawn directly do.
    // graphics_tests_on_code_page_1251 runs it on a Windows of another code page, where it proves most.
    if (const char* expected = std::getenv("VELMORA_EXPECTED_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), std::stoul(expected));
    }
    const Rect rect{10, 10, 150, 50};
    const std::unique_ptr<GdiSurface> bytes = RenderText("\x80\x93"
                                                         "caf\xE9\x94",
                                                         rect, kRun);
    GdiSurface direct(bytes->Width(), bytes->Height());
    {
        GdiCanvas canvas(direct.Dc());
        canvas.SetFont(Sans());
        canvas.SetBrushColor(clNone);
        std::wstring text = L"\u20AC\u201C"
                            L"caf\u00E9\u201D";
        RECT area{rect.Left, rect.Top, rect.Right, rect.Bottom};
        SetBkMode(direct.Dc(), TRANSPARENT);
        DrawTextExW(direct.Dc(), text.data(), static_cast<int>(text.size()), &area, kRun, nullptr);
    }
    ASSERT_GT(bytes->InkCount(), 30);
    EXPECT_EQ(bytes->Pixels(), direct.Pixels());
}

TEST(GdiCanvasTest, PointSizesBecomePixelsOfTheDevice) {
    Render(10, 10, Sans(12), [&](GdiCanvas& canvas) {
        EXPECT_EQ(canvas.PixelsPerInchX(), 96);
        EXPECT_EQ(canvas.PixelsPerInchY(), 96);
        const FontMetrics metrics = canvas.Metrics();
        // The font's own rounding of ascent and descent may lose a pixel.
        EXPECT_NEAR(metrics.Height - metrics.InternalLeading, 16, 1)
            << "12 points are 16 pixels at 96 per inch";
        EXPECT_EQ(canvas.TextHeight("gh"), metrics.Height);
        EXPECT_EQ(metrics.Height, metrics.Ascent + metrics.Descent);
    });
}

TEST(GdiCanvasTest, ScrollArrowsPointTheirWay) {
    for (const ScrollArrow arrow : {ScrollArrow::Up, ScrollArrow::Down}) {
        const std::unique_ptr<GdiSurface> surface = Render(40, 40, Sans(), [&](GdiCanvas& canvas) {
            canvas.DrawScrollArrow({10, 10, 30, 30}, arrow);
        });
        EXPECT_EQ(surface->InkCount(clWhite, {0, 0, 40, 10}) + surface->InkCount(clWhite, {0, 30, 40, 40}),
                  0);
        // The arrow is what differs from the button's face: its widest row lies opposite the tip.
        const TColor button = surface->Pixel(12, 12);
        const Rect tip = surface->InkBounds(button, {12, 12, 28, 28});
        ASSERT_FALSE(tip.IsEmpty());
        const auto rowInk = [&](int y) {
            return surface->InkCount(button, {12, y, 28, y + 1});
        };
        EXPECT_EQ(rowInk(tip.Top) < rowInk(tip.Bottom - 1), arrow == ScrollArrow::Up);
    }
}

TEST(GdiCanvasTest, HandsTheDeviceContextBackAsItCame) {
    GdiSurface surface(40, 40);
    HDC dc = surface.Dc();
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    {
        GdiCanvas canvas(dc);
        canvas.SetFont(Sans(20));
        canvas.SetPen({clRed, 3, PenStyle::Solid});
        canvas.SetBrushColor(clBlue);
        canvas.SetClipRect(Rect{0, 0, 10, 10});
        EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), font);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, region), 0) << "no clip region left behind";
    DeleteObject(region);
    // A clip the caller set is the canvas's starting clip.
    HRGN callers = CreateRectRgn(5, 6, 30, 35);
    SelectClipRgn(dc, callers);
    DeleteObject(callers);
    EXPECT_EQ(GdiCanvas(dc).ClipRect(), (Rect{5, 6, 30, 35}));
}

} // namespace
} // namespace velmora
