// Turns the input into plain hint text. Plain text never grows beyond the markup save for the line
// breaks that BR and HR become.
#include "markup/PlainText.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    const std::string plain = velmora::MarkupToPlainText(markup);
    if (plain.size() > markup.size() * 2) {
        std::abort();
    }
    return 0;
}
