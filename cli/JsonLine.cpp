#include "cli/JsonLine.h"

#include "text/Utf8Sequences.h"
#include "text/Windows1252.h"

#include <cstdio>

namespace velmora::fix {
namespace {

void AppendEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", code);
    out += escape;
}

// Valid UTF-8 is kept; a byte that is none is written by `otherByte`.
template <typename OtherByte> std::string JsonText(std::string_view text, OtherByte otherByte) {
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
            AppendEscape(out, otherByte(c));
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

} // namespace

std::string JsonString(std::string_view text) {
    return JsonText(text, [](unsigned char c) { return static_cast<unsigned>(Windows1252ToUnicode(c)); });
}

std::string JsonPath(std::string_view path) {
    return JsonText(path, [](unsigned char c) { return 0xDC00u + c; });
}

std::string JsonLine(std::string_view sheet, const std::optional<std::string>& row, std::string_view outcome,
                     const std::optional<std::string>& message, std::string_view moreFields) {
    return "{\"sheet\": " + JsonPath(sheet) + ", \"row\": " + (row ? JsonString(*row) : "null") +
           ", \"outcome\": " + JsonString(outcome) +
           ", \"message\": " + (message ? JsonString(*message) : "null") + std::string(moreFields) + "}";
}

} // namespace velmora::fix
