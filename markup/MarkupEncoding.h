#pragma once

#include "graphics/FontState.h"

#include <string_view>

namespace velmora {

// A markup text is Windows-1252 unless it starts with the UTF-8 byte order mark. Texts stored in that
// code page never start so (the mark would read "ï»¿"), editors write it at the start of UTF-8 files,
// and it travels with the text through every store that keeps bytes, so no setting can be lost on the
// way. The mark itself is neither drawn nor part of the plain text.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

TextEncoding MarkupEncoding(std::string_view markup);

// The text after its mark, if it has one.
std::string_view WithoutEncodingMark(std::string_view markup);

} // namespace velmora
