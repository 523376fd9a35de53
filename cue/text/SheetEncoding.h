#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// The character encoding a sheet was written in. Names chosen for a sheet are written in it, so the
// rest of the sheet keeps its bytes.
enum class SheetEncoding {
    Utf8WithBom,
    Utf8,
    Windows1252,
    Windows1251,
    ShiftJis,
    Gb18030,
    Big5,
    Korean,
    // Read into UTF-8 when loaded and written back in UTF-16 with the mark; in memory they are UTF-8.
    Utf16LeWithBom,
    Utf16BeWithBom,
};

// A byte order mark, else valid UTF-8 (plain ASCII included), else the code page the character set
// detector finds: Windows-1251, Shift-JIS, GB18030, Big5 or Korean (EUC-KR and its Windows superset)
// when it finds one of those and the text reads in it, Windows-1252 otherwise (the detector tells the
// Western code pages apart poorly on a few lines, and they all read as Windows-1252 here).
SheetEncoding DetectEncoding(std::string_view text);

// True for encodings whose text the engine holds as UTF-8.
bool HeldAsUtf8(SheetEncoding encoding);

// UTF-16 file bytes with their byte order mark: the encoding and the text in UTF-8; nothing for other
// bytes, or for UTF-16 that does not convert.
std::optional<std::pair<SheetEncoding, std::string>> ReadUtf16(std::string_view bytes);
// UTF-8 text as the bytes of a UTF-16 file with its byte order mark.
std::optional<std::string> WriteUtf16(std::string_view utf8, SheetEncoding encoding);

const char* EncodingName(SheetEncoding encoding);

bool IsValidUtf8(std::string_view text);

// Text in the encoding turned into UTF-8; nothing when it is not valid in that encoding.
std::optional<std::string> DecodeToUtf8(std::string_view text, SheetEncoding encoding);
// UTF-8 text written in the encoding; nothing when a character has no place in it.
std::optional<std::string> EncodeFromUtf8(std::string_view utf8, SheetEncoding encoding);

// A file name as found on disk, in UTF-8: names that are no UTF-8 are read in the sheet's encoding.
std::optional<std::string> DiskNameToUtf8(std::string_view name, SheetEncoding encoding);

// True when the two UTF-8 texts are equal under Unicode case folding.
bool EqualIgnoringCase(std::string_view utf8a, std::string_view utf8b);

} // namespace velmora
