#pragma once

#include "markup/MarkupState.h"

#include <string>
#include <string_view>

namespace velmora {

enum class LinePass : std::uint8_t {
    Measure, // decides what the line holds; paints nothing
    Second,  // lays out exactly what Measure consumed: paints it, or hit-tests it with noDraw
};

struct LineResult {
    std::string Consumed; // what the measuring pass took, hidden runs left out, for the second pass
    std::int32_t XExtent = 0;
    bool TextHit = false;
    bool ImageHit = false;
};

// One pass over one line: consumes from text what the line holds. The canvas carries the running font
// of the pass, which is stored back into font on return.
LineResult RenderMarkupLine(MarkupCallState& state, RunningFont& font, std::string_view& text,
                            const Rect& lineRect, LinePass pass, LineValues& line);

} // namespace velmora
