#pragma once

#include "markup/RenderMarkup.h"

namespace velmora {

// Where the static text's copy of the engine differs from the label's, read once per call.
struct MarkupRules {
    bool lineSpacing = false;       // lines are lineSpacing pixels further apart
    bool externalLeading = false;   // text is drawn with the font's external leading below it
    bool bulletsWhenHidden = false; // LI bullets show inside hidden (Z) text too
    bool marksStretched = false;    // a picture drawn at a given size is left marked as stretched
    bool clearsUnderFrames = false; // an animation frame is drawn on the background, not on the last one
    bool gradients = false;         // BODY and P take bgcolorto
    // BODY's background is painted even with colours suppressed; its bgcolor is read loosely (a value
    // holding "CL" is a colour name, one holding "#" a hex colour, else the text background stays),
    // fills exactly the bounds and is the background that a later </FONT> goes back to.
    bool looseBodyColor = false;
};

inline MarkupRules RulesFor(MarkupFlavor flavor) {
    if (flavor == MarkupFlavor::StaticText) {
        return {.externalLeading = true,
                .bulletsWhenHidden = true,
                .clearsUnderFrames = true,
                .looseBodyColor = true};
    }
    return {.lineSpacing = true, .marksStretched = true, .gradients = true};
}

} // namespace velmora
