#pragma once

#include "graphics/Rect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::string_view kMarkupToolUsage =
    "usage: velmora-markup [--width N] [--height N] [--font NAME] [--size PT] [--hit X,Y] [--static] MARKUP "
    "OUT.png\n"
    "  MARKUP is the marked-up text in UTF-8, or - to read it from standard input; -- ends the options.\n"
    "  Without --height the picture is as high as the text.\n";

struct MarkupToolOptions {
    std::int32_t width = 320;
    std::optional<std::int32_t> height;
    std::string fontName = "MS Sans Serif";
    std::int32_t fontSize = 8;
    std::optional<Point> hit;
    bool staticText = false; // the static-text control's flavour instead of the label's
    std::string markup;
    std::string output;
};

struct ParsedMarkupToolArguments {
    std::optional<MarkupToolOptions> options;
    std::string error; // set when options is not
};

// The arguments after the program name.
ParsedMarkupToolArguments ParseMarkupToolArguments(const std::vector<std::string>& arguments);

} // namespace velmora
