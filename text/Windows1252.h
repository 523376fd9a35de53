#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Windows-1252 to UTF-16. 0x80-0x9F hold the euro sign, typographic quotes, dashes and the like; the
// five codes the code page leaves undefined map to the control characters of the same value.
char16_t Windows1252ToUnicode(unsigned char code);
std::u16string DecodeWindows1252(std::string_view text);

// UTF-16 to Windows-1252; a character the code page lacks becomes "?".
std::string EncodeWindows1252(std::u16string_view text);

// Text in the Symbol font: its bullet 0xB7 becomes U+2022; other codes are read as Windows-1252.
std::u16string DecodeSymbolFont(std::string_view text);

} // namespace velmora
