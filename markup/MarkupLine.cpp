#include "markup/MarkupLine.h"

#include "markup/LineLayout.h"

namespace velmora {

LineResult RenderMarkupLine(MarkupCallState& state, RunningFont& font, std::string_view& text,
                            const Rect& lineRect, LinePass pass, LineValues& line) {
    LineResult result = LineLayout(state, font, lineRect, pass, line).Run(text);
    font.Font = state.Target.Font();
    return result;
}

} // namespace velmora
