#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The unified diff (three lines of context) that turns `before` into `after`, compared line by line
// without their line breaks, under the headers "--- <label>" and "+++ <label>"; empty when the lines
// are the same.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeLabel,
                        std::string_view afterLabel);

} // namespace velmora
