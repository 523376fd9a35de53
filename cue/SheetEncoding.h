#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The character encoding a sheet was written in. Names chosen for a sheet are written in it, so the
// rest of the sheet keeps its bytes.
enum class SheetEncoding {
    Utf8WithBom,
    Utf8,
    Windows1252,
    Windows1251,
    ShiftJis,
};

// A byte order mark, else valid UTF-8 (plain ASCII included), else the ANSI code page the text looks
// like: Windows-1251 for runs of Cyrillic letters, Shift-JIS for well-formed double-byte Japanese,
// Windows-1252 otherwise.
SheetEncoding DetectEncoding(std::string_view text);

const char* EncodingName(SheetEncoding encoding);

bool IsValidUtf8(std::string_view text);
// Length of the valid UTF-8 sequence at the start of `text` (not empty): overlong forms, surrogates and
// cut sequences are none, so 0.
std::size_t Utf8SequenceLength(std::string_view text);

// Text in the encoding turned into UTF-8; nothing when it is not valid in that encoding.
std::optional<std::string> DecodeToUtf8(std::string_view text, SheetEncoding encoding);
// UTF-8 text written in the encoding; nothing when a character has no place in it.
std::optional<std::string> EncodeFromUtf8(std::string_view utf8, SheetEncoding encoding);

// A file name as found on disk, in UTF-8: names that are no UTF-8 are read in the sheet's encoding.
std::optional<std::string> DiskNameToUtf8(std::string_view name, SheetEncoding encoding);

// True when the two UTF-8 texts are equal under Unicode case folding.
bool EqualIgnoringCase(std::string_view utf8a, std::string_view utf8b);

} // namespace velmora
