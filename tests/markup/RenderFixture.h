#pragma once

#include "graphics/testing/FakeCanvas.h"
#include "markup/RenderMarkup.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {

// The fake canvas measures every character 8 pixels wide and every line 16 pixels high (18 with the
// external leading), so "gh" is 16 high and the layout rectangle's text starts at bounds.Left + 1.
class RenderFixture : public ::testing::Test {
protected:
    static constexpr int CharWidth = 8;
    static constexpr int LineHeight = 16;
    static constexpr TColor BaseColor = 0x102030;

    RenderFixture() {
        FontState font = canvas.Font();
        font.Color = BaseColor;
        canvas.SetFont(font);
    }

    RenderMarkupParams Params(std::string markup, Rect bounds = {0, 0, 200, 100}) {
        markups.push_back(std::move(markup));
        RenderMarkupParams params;
        params.canvas = &canvas;
        params.markup = markups.back();
        params.bounds = bounds;
        params.urlColor = clRed;
        return params;
    }

    // Draws (noDraw false) and returns the parameters with the call's results.
    RenderMarkupParams Draw(const std::string& markup, Rect bounds = {0, 0, 200, 100}) {
        RenderMarkupParams params = Params(markup, bounds);
        RenderMarkup(params);
        return params;
    }

    std::vector<testing::DrawRecord> Texts() const { return canvas.RecordsOf(testing::DrawKind::Text); }

    // The record of the first drawn text that shows exactly shown; fails the test when there is none.
    testing::DrawRecord TextRecord(const std::string& shown) const {
        for (const testing::DrawRecord& record : Texts()) {
            if (record.Shown == shown) {
                return record;
            }
        }
        ADD_FAILURE() << "no text drawn as \"" << shown << "\"";
        return {};
    }

    testing::FakeCanvas canvas;
    std::deque<std::string> markups{}; // stable: params point into them
};

} // namespace velmora
