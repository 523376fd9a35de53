#pragma once

#include <optional>
#include <string>

namespace velmora {

enum class HandOverResult {
    NoWindow,  // nobody listens, or the socket is not ours
    Delivered, // the frames went through and were answered
    Broken,    // the running instance went away in the middle
};

// The second start's side: hands `path` over (when there is one) and waits,
// without a time limit, until the running instance has repaired it; then asks
// it to show its window normally.
HandOverResult HandOver(const std::string& folder, const std::optional<std::string>& path);

} // namespace velmora
