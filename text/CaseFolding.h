#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Windows-1252 case mapping, one byte to one: a-z and the accented letters of the code page (š, œ, ž
// and ÿ included); the division sign, sharp s and every other byte stay as they are.
char UpperCase1252(char c);
char LowerCase1252(char c);

// Replaces every occurrence of `oldText`, letters compared through the table above. Matches never
// overlap and the inserted text is never searched again; an empty `oldText` changes nothing.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view oldText, std::string_view newText);

} // namespace velmora
