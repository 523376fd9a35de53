#pragma once

#include "graphics/FontState.h"

#include <string>
#include <string_view>

namespace velmora {

// The nine entities of the whole text ("&amp;" becomes "&&", "&euro;" 0x80 or in UTF-8 U+20AC, ...),
// any case, replaced until none is left; text produced by one replacement can form the next entity.
std::string ReplaceTextEntities(std::string_view text, TextEncoding encoding = TextEncoding::Windows1252);

// The whole text made ready for layout: entities, the first "<#...>" unwrapped, CR to "<BR>", no LF.
std::string PrepareMarkup(std::string_view markup, TextEncoding encoding = TextEncoding::Windows1252);

// "&nbsp;", "&lt;" and "&gt;" in a cut run; only the lower-case forms count. In UTF-8 text also the
// character references "&#1071;" and "&#x42F;", which Windows-1252 text leaves as written: a reference
// to no character (zero, a surrogate, past U+10FFFF) stays as written too. Replaced in the cut run, no
// reference can open a tag or end a word.
std::string ReplaceRunEntities(std::string_view run, TextEncoding encoding = TextEncoding::Windows1252);

} // namespace velmora
