#include "shell/LocalizedText.h"

#include "messages/Messages.h"

namespace velmora {

QString LocalizedText(const char* english, std::initializer_list<std::string_view> values) {
    const std::string text = Localized(english, values);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace velmora
