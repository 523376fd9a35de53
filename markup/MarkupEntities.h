#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The nine entities of the whole text ("&amp;" becomes "&&", "&euro;" 0x80, ...), any case, replaced
// until none is left; text produced by one replacement can form the next entity.
std::string ReplaceTextEntities(std::string_view text);

// The whole text made ready for layout: entities, the first "<#...>" unwrapped, CR to "<BR>", no LF.
std::string PrepareMarkup(std::string_view markup);

// "&nbsp;", "&lt;" and "&gt;" in a cut run; only the lower-case forms count.
std::string ReplaceRunEntities(std::string_view run);

} // namespace velmora
