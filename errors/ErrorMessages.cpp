#include "errors/ErrorMessages.h"

#include "messages/Messages.h"

namespace velmora {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

std::string CannotOpenMessage(std::string_view path, int error) {
    return Localized("Cannot open file \"%s\". %s", {path, SystemErrorText(error)});
}

std::string CannotCreateMessage(std::string_view path, int error) {
    return Localized("Cannot create file \"%s\". %s", {path, SystemErrorText(error)});
}

} // namespace velmora
