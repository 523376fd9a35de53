#pragma once

#include "markup/RenderMarkup.h"

namespace velmora {

// Where the static text's copy of the engine differs from the label's, read once per call.
struct MarkupRules {
    bool LineSpacing = false;       // lines are lineSpacing pixels further apart
    bool ExternalLeading = false;   // text is drawn with the font's external leading below it
    bool BulletsWhenHidden = false; // LI bullets show inside hidden (Z) text too
    bool MarksStretched = false;    // a picture drawn at a given size is left marked as stretched
    bool ClearsUnderFrames = false; // an animation frame is drawn on the background, not on the last one
    bool Gradients = false;         // BODY and P take bgcolorto
    // BODY's background is painted even with colours suppressed; its bgcolor is read loosely (a value
    // holding "CL" is a colour name, one holding "#" a hex colour, else the text background stays),
    // fills exactly the bounds and is the background that a later </FONT> goes back to.
    bool LooseBodyColor = false;
};

inline MarkupRules RulesFor(MarkupFlavor flavor) {
    if (flavor == MarkupFlavor::StaticText) {
        return {.ExternalLeading = true,
                .BulletsWhenHidden = true,
                .ClearsUnderFrames = true,
                .LooseBodyColor = true};
    }
    return {.LineSpacing = true, .MarksStretched = true, .Gradients = true};
}

} // namespace velmora
