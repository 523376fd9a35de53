#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The unified diff (three lines of context) that turns `before` into `after`, under the headers
// "--- <label>" and "+++ <label>"; empty when the texts are the same. Lines end at LF and are compared
// and shown with their line breaks (CR LF included), so every byte change shows and patch applies it.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeLabel,
                        std::string_view afterLabel);

} // namespace velmora
