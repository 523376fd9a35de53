#include "errors/ErrorMessages.h"

#include <cstring>

namespace velmora {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

static std::string FileMessage(std::string_view prefix, std::string_view path, int error) {
    std::string message(prefix);
    message += '"';
    message += path;
    message += "\". ";
    message += std::strerror(error);
    return message;
}

std::string CannotOpenMessage(std::string_view path, int error) {
    return FileMessage("Impossible d'ouvrir le fichier ", path, error);
}

std::string CannotCreateMessage(std::string_view path, int error) {
    return FileMessage("Impossible de créer le fichier ", path, error);
}

} // namespace velmora
