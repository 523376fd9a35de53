#pragma once

#include "controls/core/ControlPainting.h"
#include "controls/core/LabelCore.h"
#include "controls/core/MarkupView.h"
#include "controls/core/StaticTextCore.h"

namespace velmora {

// What a paint of a markup control reads from its window.
struct PaintState {
    Rect Client;
    Point Mouse;
    bool Focused = false;
    bool Enabled = true;
};

// The label whole: its background, frames and text; then it fits itself to the text when it sizes itself.
void PaintLabel(Canvas& canvas, MarkupView& view, LabelCore& core, const LabelBackground& background,
                const PaintState& state);

// Where the static text lays its text out: opened up for auto-sizing, moved up by the mini scroll and
// short of the scroll arrows.
Rect StaticTextLayoutBounds(const MarkupSettings& settings, const StaticTextCore& core, const Rect& client);
// Where its hit tests lay the text out.
Rect StaticTextHitBounds(const MarkupSettings& settings, const StaticTextCore& core, const Rect& client);

// The static text whole, on a canvas already filled with its colour: frames, scroll arrows, the text
// (embossed when disabled); it tells the core what it drew and fits itself to the text.
void DrawStaticText(Canvas& canvas, MarkupView& view, StaticTextCore& core, const PaintState& state);

} // namespace velmora
