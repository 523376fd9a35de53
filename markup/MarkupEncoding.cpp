#include "markup/MarkupEncoding.h"

namespace velmora {

TextEncoding MarkupEncoding(std::string_view markup) {
    return markup.starts_with(kUtf8Mark) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string_view WithoutEncodingMark(std::string_view markup) {
    return markup.starts_with(kUtf8Mark) ? markup.substr(kUtf8Mark.size()) : markup;
}

} // namespace velmora
