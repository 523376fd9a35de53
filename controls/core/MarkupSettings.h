#pragma once

#include "controls/core/ControlEnums.h"
#include "controls/core/ControlHost.h"
#include "controls/core/MarkupGeometry.h"
#include "graphics/FontState.h"
#include "markup/RenderMarkup.h"
#include "pictures/PictureContainer.h"

#include <cstdint>
#include <string>

namespace velmora {

// The settings the label and the static text both publish.
struct MarkupSettings {
    TColor Color = clBtnFace;
    FontState Font;
    TAlign Align = alNone;
    std::string Hint;
    TColor URLColor = clBlue;
    TColor ShadowColor = clGray;
    std::int32_t ShadowOffset = 2;
    bool Hover = false;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    FrameSettings Frames;
    TVAlignment VAlignment = tvaTop;
    bool Ellipsis = false;
    bool AutoSizing = false;
    TAutoSizeType AutoSizeType = asVertical;
    bool AnchorHint = false;
    TPictureContainer* PictureContainer = nullptr;
};

// What every markup call of a control asks: where, the point to hit, the focus, the hover, shadow and
// link settings. The control's kind adds its flavour, wrapping and blinking.
MarkupRequest RequestFor(const MarkupSettings& settings, const AnchorHover& hovering, const Rect& bounds,
                         Point mouse, std::int32_t focus);

// Turns a request into a hit test: nothing drawn, and colours that never change the layout, so that the
// hit lands where the text was drawn whatever the hover state.
void MakeHitRequest(MarkupRequest& request);

} // namespace velmora
