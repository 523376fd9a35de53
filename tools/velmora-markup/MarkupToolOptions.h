#pragma once

#include "graphics/Rect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

inline constexpr std::string_view kMarkupToolUsage =
    "usage: velmora-markup [--width N] [--height N] [--font NAME] [--size PT] [--hit X,Y] [--hover X,Y]\n"
    "                      [--static] [--ellipsis] [--container NAME=FILE]... [--resources FILE.rcc]...\n"
    "                      [--animate N] MARKUP OUT.png\n"
    "       velmora-markup --help\n"
    "  MARKUP is the marked-up text in UTF-8, or - to read it from standard input; -- ends the options.\n"
    "  Without --height the picture is as high as the text, up to 10000 pixels.\n"
    "  --hover shows the anchor at X,Y hovered; --ellipsis cuts lines instead of wrapping them;\n"
    "  --container makes FILE the picture that <IMG src=\"NAME\"> shows (FILE:// addresses work anyway);\n"
    "  --resources adds the resources of a compiled resource file to the program's own, so that\n"
    "  <IMG src=\"RES://NAME\"> finds its :/rcdata/NAME;\n"
    "  --animate writes N pictures, OUT-1.png to OUT-N.png, 100 ms of animation apart.\n";

// The tallest picture the tool writes, and the largest number of animation frames.
inline constexpr std::int32_t kLargestPicture = 10000;
inline constexpr std::int32_t kLargestFrameCount = 1000;

struct MarkupToolOptions {
    std::int32_t Width = 320;
    std::optional<std::int32_t> Height;
    std::string FontName = "MS Sans Serif";
    std::int32_t FontSize = 8;
    std::optional<Point> Hit;
    std::optional<Point> Hover;
    bool StaticText = false; // the static-text control's flavour instead of the label's
    bool Ellipsis = false;   // lines cut with an ellipsis instead of wrapped
    std::vector<std::pair<std::string, std::string>> ContainerPictures; // name, file
    std::int32_t Frames = 1;                                            // pictures written, one per tick
    std::vector<std::string> ResourceFiles; // compiled resource files added to the program's resources
    bool Help = false;                      // print the usage and nothing else
    std::string Markup;
    std::string Output;
};

struct ParsedMarkupToolArguments {
    std::optional<MarkupToolOptions> Options;
    std::string Error; // set when options is not
};

// The arguments after the program name.
ParsedMarkupToolArguments ParseMarkupToolArguments(const std::vector<std::string>& arguments);

// Where frame `number` (1-based) of `count` goes: "-number" before the ".png" of the output, or after
// it when it has none; the output itself when there is one frame.
std::string FramePictureName(const std::string& output, std::int32_t number, std::int32_t count);

} // namespace velmora
