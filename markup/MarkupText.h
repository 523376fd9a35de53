#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Windows-1252 case mapping: ASCII letters plus the accented letters of the code page, one byte to one.
char UpperCaseAnsi(char c);
char LowerCaseAnsi(char c);
std::string UpperCaseAnsi(std::string_view text);
std::string LowerCaseAnsi(std::string_view text);

// True when text begins with prefix, letters compared without case.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// 1-based position of needle in haystack, letters compared without case; 0 when absent or empty.
std::size_t PosIgnoreCase(std::string_view needle, std::string_view haystack);

// The leading integer of text: leading spaces and one sign are allowed, reading stops at the first
// character that is not a digit, and a digit that would overflow ends the reading as well.
int IntFromText(std::string_view text);

// The integer when text is one and nothing else (spaces before it allowed); nothing otherwise.
std::optional<int> CleanIntFromText(std::string_view text);

bool ReplaceFirstIgnoreCase(std::string_view needle, std::string_view replacement, std::string& text);

// "<#abc>" shows as "#abc": the first "<#" loses its "<" and the first ">" after it goes.
std::string UnwrapFirstHashTag(std::string_view text);

// Drops every LF; each CR becomes "<BR>" when crToBreak is set, and is dropped otherwise.
std::string ConvertLineBreaks(std::string_view text, bool crToBreak);

} // namespace velmora
