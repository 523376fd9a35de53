#pragma once

#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureContainer.h"
#include "tools/velmora-markup/MarkupToolOptions.h"

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct MarkupToolReport {
    std::int32_t TextWidth = 0;
    std::int32_t TextHeight = 0;
    std::int32_t AnchorCount = 0;
    bool Hit = false;
    TextEncoding Encoding = TextEncoding::Windows1252; // of the markup, and so of its anchors and addresses
    std::string HitAnchor;                             // as the markup wrote it
    std::int32_t HitAnchorNumber = -1;
    Rect HitAnchorRect{-1, -1, -1, -1};
    // The whole text's height when the picture, held to kLargestPicture, shows only its top.
    std::optional<std::int32_t> CutFromHeight;
    std::vector<std::string> MissingPictures; // addresses that named no picture that loaded
};

// The pictures a text can name, as a control holds them: a cache for FILE:// and RES:// addresses and a
// container for the pictures given by name. They keep their animation between pictures.
class MarkupToolPictures {
public:
    MarkupToolPictures();

    // Makes the file the container's picture of that name; the error, if any, says why it is not.
    std::optional<std::string> AddContainerPicture(const std::string& name, const std::string& file);
    // One 100 ms animation step of every picture; true when any of them changed.
    bool Step();

    THTMLPictureCache Cache;
    TPictureContainer Container;
};

// The markup bytes a control would keep for this UTF-8 text: Windows-1252 when the code page holds every
// character, else UTF-8 with the mark in front (a text that starts with the mark keeps it).
std::string MarkupFromUtf8(std::string_view utf8);

// Draws markup as the label (or, with staticText, the static-text box) would: on the
// button-face background, in black, anchors blue; the hover point, when given, is the mouse position,
// so its anchor shows hovered. Needs a QGuiApplication.
QImage RenderMarkupPicture(const MarkupToolOptions& options, std::string_view markup,
                           MarkupToolPictures& pictures, MarkupToolReport& report);

// One "name: value" line for each result; the hit lines only when a hit point was given.
std::string FormatMarkupToolReport(const MarkupToolReport& report, bool withHit);

} // namespace velmora
