#pragma once

#include <chrono>

namespace velmora {

// How long a second start waits for a starting window to listen: 30 s, or the seconds in
// VELMORA_HANDOVER_PATIENCE.
std::chrono::milliseconds HandOverPatience();

} // namespace velmora
