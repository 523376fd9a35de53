#pragma once

#include "graphics/FontState.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The lines of a control's HTMLText, in Windows-1252 or UTF-8 behind the mark. Every change, by whatever
// route, tells the owner once through the function it was made with.
class TextLines {
public:
    explicit TextLines(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    const std::vector<std::string>& Lines() const { return lines_; }
    std::int32_t Count() const { return static_cast<std::int32_t>(lines_.size()); }
    const std::string& Strings(std::int32_t index) const {
        return lines_.at(static_cast<std::size_t>(index));
    }

    void SetStrings(std::int32_t index, std::string line);
    void Add(std::string line);
    void Clear();
    void Assign(std::vector<std::string> lines);

    // The lines joined with nothing between them, as the markup engine reads them.
    std::string Joined() const;
    // Every line followed by CR LF.
    std::string Text() const;
    // What the lines' bytes, and so their links, are: UTF-8 when the first starts with the mark.
    TextEncoding Encoding() const;

private:
    void Changed() const;

    std::function<void()> onChange_;
    std::vector<std::string> lines_;
};

// UTF-8 lines as a control stores them: Windows-1252 when it holds every character, else UTF-8 with the
// mark at the start of the first line.
std::vector<std::string> MarkupLinesFromUtf8(const std::vector<std::string>& lines);

} // namespace velmora
