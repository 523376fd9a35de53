#pragma once

#include "graphics/Color.h"

#include <optional>
#include <string_view>

namespace velmora {

// Colour of a "cl" name (already lower-cased); 0, black, for any other name.
TColor ColorFromName(std::string_view name);

// "#RRGGBB" as red + green * 256 + blue * 65536, each pair read by HexPairValue, nothing validated.
TColor ColorFromHex(std::string_view text);

// high * 16 + low, a character below "A" counting c - 48 and any other c - 55; 0 for fewer than two.
int HexPairValue(std::string_view pair);

// A colour attribute value as written in markup: "#" values are hexadecimal, others are names.
// Empty values are left to the caller (no colour or no change, depending on the tag).
std::optional<TColor> ColorFromValue(std::string_view value);

} // namespace velmora
