#pragma once

#include "controls/core/ControlEnums.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <string_view>

namespace velmora {

// rect shrunk by n on every side; coordinates saturate instead of overflowing for any n.
Rect Shrunk(const Rect& rect, std::int64_t n);

// What the frames of a markup control leave for its text.
struct FrameSettings {
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvNone;
    std::int32_t BevelWidth = 1;
    TBorderStyle BorderStyle = bsNone;
    std::int32_t BorderWidth = 0;

    friend bool operator==(const FrameSettings&, const FrameSettings&) = default;
};

// The client rectangle less BevelWidth when either bevel is cut, then less BorderWidth for a single
// border. Painting, hit tests and hints all use this area.
Rect TextArea(const Rect& client, const FrameSettings& frames);

// Moves bounds.Top for centred or bottom text that is lower than the control.
void ApplyVAlignment(TVAlignment alignment, Rect& bounds, std::int32_t textHeight,
                     std::int32_t controlHeight);

// The room a control that sizes itself to its text gives it, and the margin it adds.
inline constexpr std::int32_t kAutoSizeExtension = 65535;
inline constexpr std::int32_t kAutoSizeMargin = 6;

struct AutoSizeRules {
    bool Vertical = false;
    bool Horizontal = false;
};

AutoSizeRules AutoSizeRulesFor(bool autoSizing, TAlign align, TAutoSizeType type);

// Bounds opened up in the directions the control grows in, so its current size does not limit the text.
Rect ExtendForAutoSize(const Rect& bounds, AutoSizeRules rules);

// Targets that the desktop opens; every other anchor goes to the control's event.
bool IsShellTarget(std::string_view anchor);

} // namespace velmora
