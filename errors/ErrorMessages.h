#pragma once

#include "errors/Error.h"

#include <string>
#include <string_view>

namespace velmora {

// The text of the standard error box: the message, plus a full stop when its last character's code is
// above that of ".".
std::string ErrorBoxText(std::string_view message);

// "Impossible d'ouvrir le fichier "<path>". <system text>" for errno value `error`.
std::string CannotOpenMessage(std::string_view path, int error);

// "Impossible de créer le fichier "<path>". <system text>" for errno value `error`.
std::string CannotCreateMessage(std::string_view path, int error);

} // namespace velmora
