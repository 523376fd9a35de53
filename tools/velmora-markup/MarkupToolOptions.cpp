#include "tools/velmora-markup/MarkupToolOptions.h"

#include <charconv>

namespace velmora {

namespace {

constexpr std::int32_t kLargestFontSize = 1000;

std::optional<std::int32_t> ReadNumber(std::string_view text, std::int32_t lowest, std::int32_t highest) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

ParsedMarkupToolArguments Failure(std::string message) {
    return {std::nullopt, std::move(message)};
}

std::optional<Point> ReadPoint(std::string_view point) {
    const std::size_t comma = point.find(',');
    const auto x = ReadNumber(point.substr(0, comma), -kLargestPicture, kLargestPicture);
    const auto y = comma == std::string::npos
                       ? std::nullopt
                       : ReadNumber(point.substr(comma + 1), -kLargestPicture, kLargestPicture);
    if (!x || !y) {
        return std::nullopt;
    }
    return Point{*x, *y};
}

} // namespace

ParsedMarkupToolArguments ParseMarkupToolArguments(const std::vector<std::string>& arguments) {
    MarkupToolOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded) {
            positional.push_back(argument);
            continue;
        }
        const bool takesValue = argument == "--width" || argument == "--height" || argument == "--font" ||
                                argument == "--size" || argument == "--hit" || argument == "--hover" ||
                                argument == "--container" || argument == "--animate" ||
                                argument == "--resources";
        if (takesValue && i + 1 >= arguments.size()) {
            return Failure(argument + " needs a value");
        }
        if (argument == "--width" || argument == "--height") {
            const auto value = ReadNumber(arguments[++i], 1, kLargestPicture);
            if (!value) {
                return Failure(argument + " must be a number from 1 to " + std::to_string(kLargestPicture));
            }
            (argument == "--width" ? options.Width : options.Height.emplace()) = *value;
        } else if (argument == "--font") {
            options.FontName = arguments[++i];
        } else if (argument == "--size") {
            const auto value = ReadNumber(arguments[++i], 1, kLargestFontSize);
            if (!value) {
                return Failure("--size must be a number of points from 1 to " +
                               std::to_string(kLargestFontSize));
            }
            options.FontSize = *value;
        } else if (argument == "--hit" || argument == "--hover") {
            const std::optional<Point> point = ReadPoint(arguments[++i]);
            if (!point) {
                return Failure(argument + " must be X,Y");
            }
            (argument == "--hit" ? options.Hit : options.Hover) = point;
        } else if (argument == "--container") {
            const std::string& picture = arguments[++i];
            const std::size_t equals = picture.find('=');
            if (equals == std::string::npos || equals == 0 || equals + 1 == picture.size()) {
                return Failure("--container must be NAME=FILE");
            }
            options.ContainerPictures.emplace_back(picture.substr(0, equals), picture.substr(equals + 1));
        } else if (argument == "--animate") {
            const auto value = ReadNumber(arguments[++i], 1, kLargestFrameCount);
            if (!value) {
                return Failure("--animate must be a number of frames from 1 to " +
                               std::to_string(kLargestFrameCount));
            }
            options.Frames = *value;
        } else if (argument == "--resources") {
            options.ResourceFiles.push_back(arguments[++i]);
        } else if (argument == "--help" || argument == "-h") {
            options.Help = true;
            return {options, {}};
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--static") {
            options.StaticText = true;
        } else if (argument == "--ellipsis") {
            options.Ellipsis = true;
        } else if (argument.size() > 1 && argument.starts_with("-")) {
            return Failure("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) {
        return Failure("expected MARKUP and OUT.png");
    }
    options.Markup = positional[0];
    options.Output = positional[1];
    return {options, {}};
}

std::string FramePictureName(const std::string& output, std::int32_t number, std::int32_t count) {
    if (count == 1) {
        return output;
    }
    // Appended rather than added to a literal: GCC 12 at -O3 takes that for an overlapping copy.
    const std::string suffix = std::string("-").append(std::to_string(number));
    const bool png = output.size() > 4 && (output.ends_with(".png") || output.ends_with(".PNG"));
    return png ? output.substr(0, output.size() - 4) + suffix + output.substr(output.size() - 4)
               : output + suffix;
}

} // namespace velmora
