#include "text/Utf8Sequences.h"

#include <algorithm>

namespace velmora {

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char32_t DecodeSequence(std::string_view text, std::size_t length) {
    const auto lead = static_cast<unsigned char>(text[0]);
    char32_t code = length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
    for (std::size_t i = 1; i < length; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
    }
    return code;
}

} // namespace

Utf8Character FirstUtf8Character(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const std::size_t length = Utf8SequenceLength(text);
    return length == 0 ? Utf8Character{kReplacement, 1} : Utf8Character{DecodeSequence(text, length), length};
}

Utf8Character LastUtf8Character(std::string_view text) {
    // A valid sequence is at most four bytes long: the last one starts in the last four bytes, and the
    // one that reaches exactly to the end is it; otherwise the last byte stands alone.
    for (std::size_t back = std::min<std::size_t>(4, text.size()); back > 1; --back) {
        const std::string_view tail = text.substr(text.size() - back);
        if (Utf8SequenceLength(tail) == back) {
            return {DecodeSequence(tail, back), back};
        }
    }
    return FirstUtf8Character(text.substr(text.size() - 1));
}

std::u16string DecodeUtf8(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const Utf8Character c = FirstUtf8Character(text);
        if (c.Code >= 0x10000) {
            result += static_cast<char16_t>(0xD800 + ((c.Code - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((c.Code - 0x10000) & 0x3FF));
        } else {
            result += static_cast<char16_t>(c.Code);
        }
        text.remove_prefix(c.Length);
    }
    return result;
}

std::string EncodeUtf8(char32_t code) {
    if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        code = kReplacement;
    }
    std::string bytes;
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (code >> 18));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
    return bytes;
}

} // namespace velmora
