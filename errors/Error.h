#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace velmora {

// A failure that ends the current operation; the window's event loop or the console front end shows
// its message. Shared by the engine and the picture classes, which know nothing of each other.
// The engine adds the sheet the failure belongs to and, when one line is at fault, that line, so a
// window can show them as detail text and a terminal can prefix them; the message itself stays as is.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    Error(const std::string& message, std::string sheetPath, std::size_t lineNumber = 0)
        : std::runtime_error(message), sheetPath_(std::move(sheetPath)), lineNumber_(lineNumber) {}

    // Empty when the failure belongs to no sheet.
    const std::string& SheetPath() const { return sheetPath_; }
    // 1-based; 0 when no single line is at fault.
    std::size_t LineNumber() const { return lineNumber_; }

private:
    std::string sheetPath_;
    std::size_t lineNumber_ = 0;
};

} // namespace velmora
