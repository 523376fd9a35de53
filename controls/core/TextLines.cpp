#include "controls/core/TextLines.h"

#include "markup/MarkupEncoding.h"
#include "text/Utf8Sequences.h"
#include "text/Windows1252.h"

namespace velmora {

void TextLines::SetStrings(std::int32_t index, std::string line) {
    lines_.at(static_cast<std::size_t>(index)) = std::move(line);
    Changed();
}

void TextLines::Add(std::string line) {
    lines_.push_back(std::move(line));
    Changed();
}

void TextLines::Clear() {
    lines_.clear();
    Changed();
}

void TextLines::Assign(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    Changed();
}

std::string TextLines::Joined() const {
    std::string joined;
    for (const std::string& line : lines_) {
        joined += line;
    }
    return joined;
}

std::string TextLines::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TextEncoding TextLines::Encoding() const {
    return lines_.empty() ? TextEncoding::Windows1252 : MarkupEncoding(lines_.front());
}

void TextLines::Changed() const {
    if (onChange_) {
        onChange_();
    }
}

std::vector<std::string> MarkupLinesFromUtf8(const std::vector<std::string>& lines) {
    std::vector<std::string> encoded;
    encoded.reserve(lines.size());
    for (const std::string& line : lines) {
        const std::u16string wide = DecodeUtf8(line);
        encoded.push_back(EncodeWindows1252(wide));
        if (DecodeWindows1252(encoded.back()) != wide) {
            std::vector<std::string> utf8 = lines;
            if (!utf8.empty()) {
                utf8.front().insert(0, kUtf8Mark);
            }
            return utf8;
        }
    }
    return encoded;
}

} // namespace velmora
