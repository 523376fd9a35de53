#pragma once

#include "graphics/FontState.h"

#include <cstddef>
#include <string_view>

namespace velmora {

// Where the run at the start of text ends, before what follows it: at the first "<"; where words
// wrap, at the first space (which the caller takes into the run) or, in UTF-8 text, after the first
// character that a line may break after.
std::size_t RunStop(std::string_view text, bool wordWrap, TextEncoding encoding);

// Whether a line may break between text ending in `before` and text starting with `after` (both
// characters: code points in UTF-8, bytes in Windows-1252). After a space always. In UTF-8 text also
// between Chinese or Japanese characters and beside them, except before closing punctuation, small
// kana and the like, and after opening brackets, as their readers expect. Korean, like Latin, Cyrillic
// and Greek, breaks at its spaces.
bool MayBreakBetween(char32_t before, char32_t after, TextEncoding encoding);

// The first and the last character of text (not empty), as MayBreakBetween takes them.
char32_t FirstCharacter(std::string_view text, TextEncoding encoding);
char32_t LastCharacter(std::string_view text, TextEncoding encoding);

} // namespace velmora
