#include "shell/handover/HandOverPatience.h"

#include <cstdlib>

namespace velmora {

std::chrono::milliseconds HandOverPatience() {
    if (const char* value = std::getenv("VELMORA_HANDOVER_PATIENCE"); value != nullptr && *value != '\0') {
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        if (*end == '\0' && seconds >= 0) {
            return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        }
    }
    return std::chrono::seconds(30);
}

} // namespace velmora
