#pragma once

#include "graphics/Rect.h"
#include "tools/velmora-markup/MarkupToolOptions.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

struct MarkupToolReport {
    std::int32_t textWidth = 0;
    std::int32_t textHeight = 0;
    std::int32_t anchorCount = 0;
    bool hit = false;
    std::string hitAnchor; // Windows-1252, as the markup wrote it
    std::int32_t hitAnchorNumber = -1;
    Rect hitAnchorRect{-1, -1, -1, -1};
};

// Draws Windows-1252 markup as the label (or, with staticText, the static-text box) would: on the
// button-face background, in black, anchors blue; the hit point, when given, is also the mouse
// position, so its anchor shows hovered. Needs a QGuiApplication.
QImage RenderMarkupPicture(const MarkupToolOptions& options, std::string_view markup,
                           MarkupToolReport& report);

// One "name: value" line for each result; the hit lines only when a hit point was given.
std::string FormatMarkupToolReport(const MarkupToolReport& report, bool withHit);

} // namespace velmora
