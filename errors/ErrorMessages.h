#pragma once

#include "errors/Error.h"

#include <string>
#include <string_view>

namespace velmora {

// The text of the standard error box: the message, plus a full stop when its last character's code is
// above that of ".".
std::string ErrorBoxText(std::string_view message);

// "Cannot open file "<path>". <system text>" for errno value `error`, in the user's language (in
// French: "Impossible d'ouvrir le fichier ...").
std::string CannotOpenMessage(std::string_view path, int error);

// "Cannot create file "<path>". <system text>" for errno value `error`, in the user's language (in
// French: "Impossible de créer le fichier ...").
std::string CannotCreateMessage(std::string_view path, int error);

} // namespace velmora
