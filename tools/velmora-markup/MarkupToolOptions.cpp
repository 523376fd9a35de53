#include "tools/velmora-markup/MarkupToolOptions.h"

#include <charconv>

namespace velmora {

namespace {

constexpr std::int32_t kLargestPicture = 10000;
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
                                argument == "--size" || argument == "--hit";
        if (takesValue && i + 1 >= arguments.size()) {
            return Failure(argument + " needs a value");
        }
        if (argument == "--width" || argument == "--height") {
            const auto value = ReadNumber(arguments[++i], 1, kLargestPicture);
            if (!value) {
                return Failure(argument + " must be a number from 1 to " + std::to_string(kLargestPicture));
            }
            (argument == "--width" ? options.width : options.height.emplace()) = *value;
        } else if (argument == "--font") {
            options.fontName = arguments[++i];
        } else if (argument == "--size") {
            const auto value = ReadNumber(arguments[++i], 1, kLargestFontSize);
            if (!value) {
                return Failure("--size must be a number of points from 1 to " +
                               std::to_string(kLargestFontSize));
            }
            options.fontSize = *value;
        } else if (argument == "--hit") {
            const std::string& point = arguments[++i];
            const std::size_t comma = point.find(',');
            const auto x =
                ReadNumber(std::string_view(point).substr(0, comma), -kLargestPicture, kLargestPicture);
            const auto y = comma == std::string::npos ? std::nullopt
                                                      : ReadNumber(std::string_view(point).substr(comma + 1),
                                                                   -kLargestPicture, kLargestPicture);
            if (!x || !y) {
                return Failure("--hit must be X,Y");
            }
            options.hit = Point{*x, *y};
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--static") {
            options.staticText = true;
        } else if (argument.size() > 1 && argument.starts_with("-")) {
            return Failure("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) {
        return Failure("expected MARKUP and OUT.png");
    }
    options.markup = positional[0];
    options.output = positional[1];
    return {options, {}};
}

} // namespace velmora
