#include "markup/KeptLayout.h"

#include "PictureFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

// The corpus inputs begin with the bytes that choose the fuzzer's call; the markup follows them.
constexpr std::size_t kCallChoiceBytes = 12;

std::vector<std::string> Texts() {
    std::vector<std::string> texts = {
        "<A href=\"one\">first link</A> and <A href=\"two\">a second link that wraps over lines</A> end",
        "<P align=\"right\" indent=\"10\">x <A href=\"r\">right<SUB>2</SUB></A> y <A href=\"s\">s</A>",
        "<A href=\"p\"><IMG src=\"logo\" align=\"middle\"> pic</A><BR><FONT size=\"20\"><A "
        "href=\"b\">big</A>",
        "<UL><LI><A href=\"l\">item</A><LI>two<A href=\"m\">m</A></UL><HR><A href=\"n\">n<IN x=\"40\">o</A>",
        "<A href=\"z\">a<Z>hidden</Z>b</A><A href=\"adj\">c</A><A>d</A></A>e",
    };
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_MARKUP_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream read;
        read << in.rdbuf();
        const std::string bytes = read.str();
        if (bytes.size() > kCallChoiceBytes) {
            texts.push_back(bytes.substr(kCallChoiceBytes));
        }
    }
    return texts;
}

struct Shape {
    MarkupFlavor flavor;
    bool wordWrap;
    Rect bounds;
    std::int32_t lineSpacing;
};

const Shape kShapes[] = {
    {MarkupFlavor::Label, true, {3, 2, 83, 42}, 0},
    {MarkupFlavor::StaticText, false, {0, 0, 64, 26}, 0},
    {MarkupFlavor::Label, true, {-4, 0, 36, 60}, 3},
};

// Every drawing call with what it was drawn with, one per line.
std::string Describe(const std::vector<testkit::DrawRecord>& records) {
    std::ostringstream out;
    for (const testkit::DrawRecord& r : records) {
        out << static_cast<int>(r.Kind) << ' ' << r.Area.Left << ',' << r.Area.Top << ',' << r.Area.Right
            << ',' << r.Area.Bottom << " \"" << r.Text << "\" " << r.Font.Name << r.Font.Size << ' '
            << r.Font.Color << (r.Font.Underline ? "U" : "") << ' ' << r.BrushState.Color << ' '
            << r.PenState.Color;
        for (const Point& p : r.Points) {
            out << ' ' << p.X << ',' << p.Y;
        }
        out << '\n';
    }
    return out.str();
}

class KeptLayoutTest : public PictureFixture {
protected:
    KeptLayoutTest() { AddPicture("logo", 20, 24); }

    MarkupCall Call(const std::string& markup, const Shape& shape, KeptLayouts* kept) {
        canvas.ClearRecords();
        MarkupCall call = Params(markup, shape.bounds);
        call.Sources.PictureContainer = &container;
        call.Sources.PictureCache = &cache;
        call.Request.Flavor = shape.flavor;
        call.Request.WordWrap = shape.wordWrap;
        call.Request.LineSpacing = shape.lineSpacing;
        call.Kept = kept;
        return call;
    }
};

TEST_F(KeptLayoutTest, HitsMatchAFreshLayoutAtEveryPoint) {
    int kept = 0;
    for (const std::string& text : Texts()) {
        for (const Shape& shape : kShapes) {
            KeptLayouts layouts;
            int mismatches = 0;
            for (int y = shape.bounds.Top - 2; y < shape.bounds.Bottom + 2 && mismatches == 0; ++y) {
                for (int x = shape.bounds.Left - 2; x < shape.bounds.Right + 2 && mismatches == 0; ++x) {
                    MarkupCall fresh = Call(text, shape, nullptr);
                    MarkupCall reused = Call(text, shape, &layouts);
                    for (MarkupCall* call : {&fresh, &reused}) {
                        call->Request.NoDraw = true;
                        call->Request.HitX = x;
                        call->Request.HitY = y;
                    }
                    const bool found = fresh.Run();
                    const bool keptFound = reused.Run();
                    const MarkupResult& a = fresh.Result;
                    const MarkupResult& b = reused.Result;
                    const bool same = found == keptFound && (!found || a.HitAnchor == b.HitAnchor) &&
                                      a.HitAnchorNumber == b.HitAnchorNumber &&
                                      a.HitAnchorRect == b.HitAnchorRect && a.TextWidth == b.TextWidth &&
                                      a.TextHeight == b.TextHeight && a.AnchorCount == b.AnchorCount &&
                                      a.PlainText == b.PlainText;
                    if (!same) {
                        ++mismatches;
                        ADD_FAILURE() << "at " << x << "," << y << " flavour "
                                      << static_cast<int>(shape.flavor) << ": fresh " << found << " "
                                      << a.HitAnchor << " #" << a.HitAnchorNumber << ", kept " << keptFound
                                      << " " << b.HitAnchor << " #" << b.HitAnchorNumber << "\n"
                                      << text;
                    }
                }
            }
            MarkupCall probe = Call(text, shape, nullptr);
            probe.Request.NoDraw = true;
            kept += layouts.WithHits(probe.Sources, probe.Request, canvas.Font(), 96, 96) != nullptr ? 1 : 0;
        }
    }
    EXPECT_GT(kept, 20) << "most texts are answered from the kept layout";
}

TEST_F(KeptLayoutTest, PaintsDrawWhatAFreshLayoutDraws) {
    struct Look {
        std::int32_t hoverAnchor;
        bool hoverEnabled;
        std::int32_t focusAnchor;
        bool blinkVisible;
        TColor urlColor;
        std::int32_t fontSize;
    };
    const Look looks[] = {
        {-1, false, -1, true, clRed, 8}, {1, true, 0, false, clBlue, 8}, {2, true, 1, true, clGreen, 8},
        {1, true, -1, true, clRed, 12},  {2, false, 0, false, clRed, 8},
    };
    for (const std::string& text : Texts()) {
        for (const Shape& shape : kShapes) {
            KeptLayouts layouts;
            for (int round = 0; round < 2; ++round) {
                for (const Look& look : looks) {
                    std::string drawn[2];
                    bool found[2] = {};
                    MarkupResult results[2];
                    for (int i = 0; i < 2; ++i) {
                        canvas.SetFont({"MS Sans Serif", look.fontSize, kBaseColor});
                        MarkupCall call = Call(text, shape, i == 0 ? nullptr : &layouts);
                        call.Request.HitX = shape.bounds.Left + 20;
                        call.Request.HitY = shape.bounds.Top + 5;
                        call.Request.HoverAnchor = look.hoverAnchor;
                        call.Request.HoverEnabled = look.hoverEnabled;
                        call.Request.FocusAnchor = look.focusAnchor;
                        call.Request.BlinkVisible = look.blinkVisible;
                        call.Request.UrlColor = look.urlColor;
                        found[i] = call.Run();
                        drawn[i] = Describe(canvas.Records());
                        results[i] = call.Result;
                    }
                    EXPECT_EQ(drawn[0], drawn[1]) << text;
                    EXPECT_EQ(found[0], found[1]) << text;
                    EXPECT_EQ(results[0].FocusHref, results[1].FocusHref) << text;
                    EXPECT_EQ(results[0].TextWidth, results[1].TextWidth) << text;
                    EXPECT_EQ(results[0].TextHeight, results[1].TextHeight) << text;
                    EXPECT_EQ(results[0].PlainText, results[1].PlainText) << text;
                }
            }
        }
    }
}

TEST_F(KeptLayoutTest, ChangesThatMoveTheLinesAreLaidOutAgain) {
    const Shape shape = kShapes[0];
    KeptLayouts layouts;
    const std::string text = "<A href=\"a\">one two three four five six</A>";
    MarkupCall first = Call(text, shape, &layouts);
    first.Request.NoDraw = true;
    first.Run();
    ASSERT_NE(layouts.WithHits(first.Sources, first.Request, canvas.Font(), 96, 96), nullptr);

    struct Change {
        const char* name;
        void (*apply)(MarkupCall&);
    };
    const Change changes[] = {
        {"bounds",
         [](MarkupCall& c) {
             c.Request.Bounds.Right -= 1;
         }},
        {"wrapping",
         [](MarkupCall& c) {
             c.Request.WordWrap = false;
         }},
        {"flavour",
         [](MarkupCall& c) {
             c.Request.Flavor = MarkupFlavor::StaticText;
         }},
        {"line spacing",
         [](MarkupCall& c) {
             c.Request.LineSpacing = 1;
         }},
        {"container",
         [](MarkupCall& c) {
             c.Sources.PictureContainer = nullptr;
         }},
        {"measuring every line",
         [](MarkupCall& c) {
             c.Request.MeasureOnly = true;
         }},
    };
    for (const Change& change : changes) {
        MarkupCall changed = Call(text, shape, &layouts);
        changed.Request.NoDraw = true;
        change.apply(changed);
        EXPECT_EQ(layouts.WithHits(changed.Sources, changed.Request, canvas.Font(), 96, 96), nullptr)
            << change.name;
    }
    FontState bold = canvas.Font();
    bold.Bold = true;
    EXPECT_EQ(layouts.WithHits(first.Sources, first.Request, bold, 96, 96), nullptr) << "font";
    EXPECT_EQ(layouts.WithHits(first.Sources, first.Request, canvas.Font(), 120, 96), nullptr)
        << "resolution";
    FontState red = canvas.Font();
    red.Color = clRed;
    EXPECT_NE(layouts.WithHits(first.Sources, first.Request, red, 96, 96), nullptr)
        << "a colour moves nothing";

    // A picture shown for the point under it changes the line: such a text is never kept.
    MarkupCall alt = Call("<A href=\"p\"><IMG src=\"logo\" alt=\"logo\"></A>", shape, &layouts);
    alt.Request.NoDraw = true;
    alt.Run();
    EXPECT_EQ(layouts.WithHits(alt.Sources, alt.Request, canvas.Font(), 96, 96), nullptr);
}

} // namespace
} // namespace velmora
