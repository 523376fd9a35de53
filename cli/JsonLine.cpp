#include "JsonLine.h"

#include "graphics/Windows1252.h"

#include <cstdio>

namespace velmora::fix {
namespace {

// Length of the valid UTF-8 sequence at the start of `text`, or 0.
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
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

void AppendEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", code);
    out += escape;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text[0]);
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text);
            if (length > 0) {
                out.append(text.substr(0, length));
                text.remove_prefix(length);
                continue;
            }
            AppendEscape(out, Windows1252ToUnicode(c));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
        text.remove_prefix(1);
    }
    return out + "\"";
}

std::string JsonLine(std::string_view sheet, const std::optional<std::string>& row, std::string_view outcome,
                     const std::optional<std::string>& message, std::string_view moreFields) {
    return "{\"sheet\": " + JsonString(sheet) + ", \"row\": " + (row ? JsonString(*row) : "null") +
           ", \"outcome\": " + JsonString(outcome) +
           ", \"message\": " + (message ? JsonString(*message) : "null") + std::string(moreFields) + "}";
}

} // namespace velmora::fix
