#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Length of the valid UTF-8 sequence at the start of `text` (not empty): overlong forms, surrogates and
// cut sequences are none, so 0.
std::size_t Utf8SequenceLength(std::string_view text);

// A character and the bytes it takes.
struct Utf8Character {
    char32_t Code = 0;
    std::size_t Length = 0;
};

// The character at the start of `text` (not empty). A byte that starts no valid sequence is a character
// of its own, U+FFFD, so that any text can be walked and cut without splitting a valid character.
Utf8Character FirstUtf8Character(std::string_view text);

// The last character of `text` (not empty), found as FirstUtf8Character would find it walking forward.
Utf8Character LastUtf8Character(std::string_view text);

// UTF-16 for the wide-character interfaces; each byte that starts no valid sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view text);

// The UTF-8 bytes of a character; a surrogate or a code past U+10FFFF gives U+FFFD.
std::string EncodeUtf8(char32_t code);

} // namespace velmora
