#pragma once

#include <optional>
#include <string>

namespace velmora {

enum class HandOverResult {
    NoWindow,  // nobody listens, or the socket is not ours
    Delivered, // the path's run was answered (or there was no path and the window was shown)
    Broken,    // the running instance went away before the path's run was answered
};

// The second start's side: hands `path` over (when there is one) and waits,
// without a time limit, until the running instance has repaired it; then asks
// it to show its window normally. Needs no event loop.
HandOverResult HandOver(const std::string& folder, const std::optional<std::string>& path);

} // namespace velmora
