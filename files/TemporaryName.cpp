#include "files/TemporaryFile.h"

namespace velmora {

bool IsTemporaryName(const std::string& name) {
    constexpr std::size_t kSuffixLength = 1 + 16 + 4; // ".<hex>.tmp"
    if (name.size() < 2 + kSuffixLength || name[0] != '.' || name.compare(name.size() - 4, 4, ".tmp") != 0) {
        return false;
    }
    const std::size_t dot = name.size() - kSuffixLength;
    if (name[dot] != '.') {
        return false;
    }
    for (std::size_t i = dot + 1; i < dot + 17; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

} // namespace velmora
