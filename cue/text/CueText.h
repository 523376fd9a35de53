#pragma once

#include <string>
#include <string_view>

// Positional text routines with which the repair cuts pieces out of a sheet and puts new ones in.
// Texts are bytes; positions in the rules are 1-based. None of them fails.
namespace velmora {

// Removes every leading and trailing character whose code is 32 or less.
std::string Trim(std::string_view text);

std::string StripThrough(std::string_view marker, std::string_view text);
std::string StripThroughLast(std::string_view marker, std::string_view text);
std::string TextBefore(std::string_view marker, std::string_view text);
// An absent marker is not tested for: the result then starts at the character whose position equals
// the marker's length.
std::string TextAfter(std::string_view marker, std::string_view text);
std::string TextBetween(std::string_view startMarker, std::string_view endMarker, std::string_view text);
// Field n (from 0) between delimiter characters, trimmed; empty when there is no such field.
std::string ExtractField(std::string_view text, char delimiter, int n);
} // namespace velmora
