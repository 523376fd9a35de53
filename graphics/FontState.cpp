#include "graphics/FontState.h"

#include "text/Utf8Sequences.h"
#include "text/Windows1252.h"

namespace velmora {

std::u16string DecodeText(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? DecodeUtf8(text) : DecodeWindows1252(text);
}

} // namespace velmora
