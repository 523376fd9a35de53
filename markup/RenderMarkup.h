#pragma once

#include "graphics/Canvas.h"
#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

class ImageList;
class ShellIconSource;
class THTMLPictureCache;
class TPictureContainer;

// Markup can name any number; indents and positions are held within this many pixels either side
// of 0, and font sizes within MarkupMaxPointSize, so that no arithmetic on them can overflow.
inline constexpr std::int32_t MarkupCoordinateLimit = 1 << 24;
inline constexpr std::int32_t MarkupMaxPointSize = 1000;

// The two controls share one engine; the static text's copy differs in these points.
enum class MarkupFlavor : std::uint8_t {
    Label,      // lineSpacing applies; text is drawn without its external leading
    StaticText, // no line spacing; text is drawn with its external leading; LI bullets also when hidden
};

// Everything one RenderMarkup call reads and writes, in the order of its parameter list. The call
// reads the "in" fields, updates hitAnchor and fills the "out" fields; it keeps nothing afterwards.
// The canvas, the image list and the picture sources belong to the caller and must outlive the call.
struct RenderMarkupParams {
    Canvas* canvas = nullptr;             // in: its font is the base font, its brush colour the background
    std::string_view markup;              // in
    Rect bounds;                          // in
    const ImageList* imageList = nullptr; // in: images for IDX sources
    std::int32_t hitX = 0;                // in: point to hit-test, canvas coordinates
    std::int32_t hitY = 0;                // in
    std::int32_t focusAnchor = -1;        // in: 0-based; -1 for none
    std::int32_t hoverAnchor = -1;        // in: 1-based; read only when hoverEnabled
    std::int32_t shadowOffset = 0;        // in: pixels right and down
    bool noDraw = false;                  // in: the second pass paints nothing and hit-tests text
    bool measureOnly = false;             // in: only the measuring pass, every line
    bool printing = false;                // in
    bool suppressColors = false;          // in: markup colours and urlColor are not applied
    bool blinkVisible = true;             // in: false hides text after BLINK
    bool hoverEnabled = false;            // in: anchor styling only for hoverAnchor
    bool wordWrap = true;                 // in: false cuts with an ellipsis instead
    double imageScale = 1.0;              // in: image scale when printing
    TColor urlColor = clBlue;             // in
    TColor hoverColor = clNone;           // in
    TColor hoverFontColor = clNone;       // in
    TColor shadowColor = clGray;          // in
    std::string hitAnchor;                // in/out: not cleared; meaningful when the result is true
    std::string plainText;                // out
    std::string focusHref;                // out
    std::int32_t textWidth = 0;           // out
    std::int32_t textHeight = 0;          // out
    std::int32_t anchorCount = 0;         // out
    std::int32_t hitAnchorNumber = -1;    // out: 1-based; -1 for none
    Rect hitAnchorRect{-1, -1, -1, -1};   // out
    THTMLPictureCache* pictureCache = nullptr;     // in: pictures named by address
    TPictureContainer* pictureContainer = nullptr; // in: pictures named by a plain name
    std::int32_t lineSpacing = 0;                  // in: label only

    MarkupFlavor flavor = MarkupFlavor::Label;
    ShellIconSource* shellIcons = nullptr; // in: the desktop's icons for SSYS and LSYS sources
};

// Lays out, draws and hit-tests marked-up text inside params.bounds. Returns true when the hit point
// lies on an anchor. The canvas font and brush are as they were on return; pen and clip are not.
bool RenderMarkup(RenderMarkupParams& params);

} // namespace velmora
