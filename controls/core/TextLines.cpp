#include "controls/core/TextLines.h"

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

void TextLines::Changed() const {
    if (onChange_) {
        onChange_();
    }
}

} // namespace velmora
