#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The plain text of each anchor of the markup, in text order: what a screen
// reader reads for the link.
std::vector<std::string> AnchorTexts(std::string_view markup);

} // namespace velmora
