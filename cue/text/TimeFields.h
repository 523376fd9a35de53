#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The fields of a sheet's mm:ss:ff times, read and written apart from any repair so that the lengths and the
// references can use them too.
namespace velmora {

std::optional<std::int32_t> ParseTimeField(std::string_view text);

// "%.2d": at least two digits, a minus sign in front of them.
std::string FormatTimeField(std::int64_t value);
void AppendTimeField(std::string& text, std::int64_t value);

// Carries frames (75 to a second) into seconds and seconds into minutes; a valid time is never moved.
void CarryTime(std::int64_t& minutes, std::int64_t& seconds, std::int64_t& frames);

} // namespace velmora
