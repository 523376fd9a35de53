#pragma once

#include "graphics/Canvas.h"
#include "graphics/Color.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

class ImageList;
class KeptLayouts;
class ShellIconSource;
class THTMLPictureCache;
class TPictureContainer;

// Markup can name any number; indents and positions are held within this many pixels either side
// of 0, and font sizes within kMarkupMaxPointSize, so that no arithmetic on them can overflow.
inline constexpr std::int32_t kMarkupCoordinateLimit = 1 << 24;
inline constexpr std::int32_t kMarkupMaxPointSize = 1000;

// The two controls share one engine; MarkupRules says where the static text's copy differs.
enum class MarkupFlavor : std::uint8_t { Label, StaticText };

// What the host lends one RenderMarkup call besides its canvas. Every source belongs to the caller, may
// be absent (its pictures then take no room), must outlive the call and is not remembered afterwards; the
// call changes them only as each line says.
struct MarkupSources {
    const ImageList* Images = nullptr; // read only: images for IDX sources
    // Pictures named by address. An address the cache lacks is added and loaded by the call and stays in
    // the cache, so that the next call finds it; one that does not load stays as an empty picture.
    THTMLPictureCache* PictureCache = nullptr;
    // Pictures named by a plain name, read only; the label marks a picture it stretches as stretched.
    TPictureContainer* PictureContainer = nullptr;
    ShellIconSource* ShellIcons = nullptr; // the desktop's icons for SSYS and LSYS sources
};

// What one call is asked to do. Read only; the markup's bytes must outlive the call.
struct MarkupRequest {
    std::string_view Markup;
    Rect Bounds;
    std::int32_t HitX = 0; // point to hit-test, canvas coordinates
    std::int32_t HitY = 0;
    std::int32_t FocusAnchor = -1; // 0-based; -1 for none
    std::int32_t HoverAnchor = -1; // 1-based; read only when hoverEnabled
    std::int32_t ShadowOffset = 0; // pixels right and down
    bool NoDraw = false;           // the second pass paints nothing and hit-tests text
    bool MeasureOnly = false;      // only the measuring pass, every line
    bool Printing = false;
    bool SuppressColors = false; // markup colours and urlColor are not applied
    bool BlinkVisible = true;    // false hides text after BLINK
    bool HoverEnabled = false;   // anchor styling only for hoverAnchor
    bool WordWrap = true;        // false cuts with an ellipsis instead
    double ImageScale = 1.0;     // image scale when printing
    TColor UrlColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = clGray;
    std::int32_t LineSpacing = 0; // read where MarkupRules::lineSpacing holds: the label's
    MarkupFlavor Flavor = MarkupFlavor::Label;

    friend bool operator==(const MarkupRequest&, const MarkupRequest&) = default;
};

// What one call found. Every field is set by the call but hitAnchor, which the call never clears: read it
// only when the call returned true.
struct MarkupResult {
    std::string HitAnchor;
    std::string PlainText;
    std::string FocusHref;
    std::int32_t TextWidth = 0;
    std::int32_t TextHeight = 0;
    std::int32_t AnchorCount = 0;
    std::int32_t HitAnchorNumber = -1; // 1-based; -1 for none
    Rect HitAnchorRect{-1, -1, -1, -1};
};

// Lays out, draws and hit-tests marked-up text inside request.bounds on canvas. The canvas's font is the
// base font and its brush colour the background; on return font and brush are as they were, pen and clip
// are not. Returns true when the hit point lies on an anchor.
bool RenderMarkup(Canvas& canvas, const MarkupSources& sources, const MarkupRequest& request,
                  MarkupResult& result);

// One call built part by part: the canvas is fixed when the call is made, the sources and the request
// are filled in, Run() draws and leaves what it found in result. A call may run more than once. With
// kept layouts (the caller's), the call reuses and refreshes them; the answers are the same.
struct MarkupCall {
    explicit MarkupCall(Canvas& target) : Target(target) {}

    bool Run();

    Canvas& Target;
    MarkupSources Sources;
    MarkupRequest Request;
    MarkupResult Result;
    KeptLayouts* Kept = nullptr;
};

} // namespace velmora
