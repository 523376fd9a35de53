#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// A failure that ends the current operation; the window's event loop or the console front end shows
// its message. Shared by the engine and the picture classes, which know nothing of each other.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace velmora
