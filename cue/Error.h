#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora {

// A failure that ends the current operation; the window's event loop or the console front end shows
// its message. Messages are UTF-8, except that file names inside them are the path's own bytes.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The text of the standard error box: the message, plus a full stop when its last character's code is
// above that of ".".
std::string ErrorBoxText(std::string_view message);

// "Impossible d'ouvrir le fichier "<path>". <system text>" for errno value `error`.
std::string CannotOpenMessage(std::string_view path, int error);

// "Impossible de créer le fichier "<path>". <system text>" for errno value `error`.
std::string CannotCreateMessage(std::string_view path, int error);

} // namespace velmora
