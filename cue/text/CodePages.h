#pragma once

#include "cue/text/SheetEncoding.h"

#include <optional>
#include <string>
#include <string_view>

// The system's side of the sheet encodings: conversions between the code pages and UTF-8, the character
// set detector, and Unicode lower case. Linux has them from iconv, uchardet and the C library; Windows
// from its own code page calls.
namespace velmora {

// Text in the encoding's code page as UTF-8 (for encodings held as UTF-8, the text itself when it is
// valid UTF-8); nothing when it is not valid in that encoding.
std::optional<std::string> CodePageToUtf8(std::string_view text, SheetEncoding encoding);
// UTF-8 text in the encoding's code page; nothing when a character has no place in it.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, SheetEncoding encoding);

// UTF-16 bytes without their mark as UTF-8, and back; nothing for what does not convert (lone
// surrogates, an odd byte, text that is no UTF-8).
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool littleEndian);
std::optional<std::string> Utf8ToUtf16(std::string_view utf8, bool littleEndian);

// What the character set detector makes of text that is no UTF-8, among the code pages sheets come in
// (Windows-1251, Shift-JIS, GB18030, Big5, Korean); nothing when it finds none of them.
std::optional<SheetEncoding> DetectedCodePage(std::string_view text);

// The code points of UTF-8 text, each in its Unicode lower case; empty when the text is no UTF-8.
std::u32string LoweredCodePoints(std::string_view utf8);

} // namespace velmora
