#include "cue/text/TimeFields.h"

#include <charconv>
#include <limits>

namespace velmora {
namespace {

constexpr int kFramesPerSecond = 75;
constexpr int kSecondsPerMinute = 60;

} // namespace

std::optional<std::int32_t> ParseTimeField(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(value);
}

std::string FormatTimeField(std::int64_t value) {
    std::string text;
    AppendTimeField(text, value);
    return text;
}

void AppendTimeField(std::string& text, std::int64_t value) {
    char digits[24];
    const auto magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value);
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, magnitude);
    if (value < 0) {
        text += '-';
    }
    if (end.ptr - digits < 2) {
        text += '0';
    }
    text.append(digits, end.ptr);
}

void CarryTime(std::int64_t& minutes, std::int64_t& seconds, std::int64_t& frames) {
    if (frames >= kFramesPerSecond) {
        seconds += frames / kFramesPerSecond;
        frames %= kFramesPerSecond;
    }
    if (seconds >= kSecondsPerMinute) {
        minutes += seconds / kSecondsPerMinute;
        seconds %= kSecondsPerMinute;
    }
}

} // namespace velmora
