#include "messages/FillIn.h"

namespace velmora {

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    auto next = values.begin();
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.compare(at, 2, "%s") == 0 && next != values.end()) {
            text += *next++;
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

} // namespace velmora
