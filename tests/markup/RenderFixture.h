#pragma once

#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>

namespace velmora {

struct LayoutCase {
    std::string markup;
    int right; // of the bounds (0, 0, right, 100); the line is right - 1 wide
    int textWidth;
    int textHeight;
    std::string placement;
};

// The fake canvas measures every character 8 pixels wide and every line 16 pixels high (18 with the
// external leading), so "gh" is 16 high and the text of a line starts at bounds.Left + 1.
class RenderFixture : public ::testing::Test {
protected:
    static constexpr TColor kBaseColor = 0x102030;

    RenderFixture() { canvas.SetFontColor(kBaseColor); }

    MarkupCall Params(std::string markup, Rect bounds = {0, 0, 200, 100}) {
        markups.push_back(std::move(markup));
        MarkupCall params(canvas);
        params.Request.Markup = markups.back();
        params.Request.Bounds = bounds;
        params.Request.UrlColor = clRed;
        return params;
    }

    MarkupCall Draw(const std::string& markup, Rect bounds = {0, 0, 200, 100}) {
        canvas.ClearRecords();
        MarkupCall params = Params(markup, bounds);
        params.Run();
        return params;
    }

    // Lays the case out and checks its size and where every run was drawn.
    void Check(const LayoutCase& c, bool wordWrap = true) {
        canvas.ClearRecords();
        MarkupCall params = Params(c.markup, {0, 0, c.right, 100});
        params.Request.WordWrap = wordWrap;
        params.Run();
        EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.markup;
        EXPECT_EQ(params.Result.TextHeight, c.textHeight) << c.markup;
        EXPECT_EQ(Placement(), c.placement) << c.markup;
    }

    // Every drawn text as "shown@left,top", in drawing order, separated by spaces.
    std::string Placement() const {
        std::string out;
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Text)) {
            out += (out.empty() ? "" : " ") + r.Shown + "@" + std::to_string(r.Area.Left) + "," +
                   std::to_string(r.Area.Top);
        }
        return out;
    }

    // Every drawn text as "shown:colour[/background][ styles]", separated by " | ".
    std::string Looks() const {
        std::string out;
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Text)) {
            const TColor background = r.BrushState.Style == BrushStyle::Clear ? clNone : r.BrushState.Color;
            std::string styles = std::string(r.Font.Bold ? "B" : "") + (r.Font.Italic ? "I" : "") +
                                 (r.Font.Underline ? "U" : "") + (r.Font.StrikeOut ? "S" : "");
            out += (out.empty() ? "" : " | ") + r.Shown + ":" + ColorName(r.Font.Color) +
                   (background == clNone ? "" : "/" + ColorName(background)) +
                   (styles.empty() ? "" : " " + styles);
        }
        return out;
    }

    // The first drawn text that shows exactly shown.
    testkit::DrawRecord TextRecord(const std::string& shown) const {
        for (const testkit::DrawRecord& r : canvas.RecordsOf(testkit::DrawKind::Text)) {
            if (r.Shown == shown) {
                return r;
            }
        }
        ADD_FAILURE() << "no text drawn as \"" << shown << "\"";
        return {};
    }

    static std::string ColorName(TColor color) {
        const std::pair<TColor, const char*> names[] = {
            {kBaseColor, "base"},       {clRed, "red"},
            {clBlue, "blue"},           {clBlack, "black"},
            {clWhite, "white"},         {clYellow, "yellow"},
            {clGreen, "green"},         {clGray, "gray"},
            {clHighlight, "highlight"}, {clHighlightText, "highlighttext"},
        };
        for (const auto& [known, name] : names) {
            if (known == color) {
                return name;
            }
        }
        return std::to_string(color);
    }

    testkit::FakeCanvas canvas;
    std::deque<std::string> markups{}; // stable: params point into them
};

} // namespace velmora
