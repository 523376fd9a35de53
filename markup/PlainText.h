#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Markup as plain text for hints: BR and HR become CR LF, "<z>...</z>" and "<Z>...</Z>" sections go,
// every other tag goes; entities stay as written. The text keeps the markup's encoding, without its mark.
std::string MarkupToPlainText(std::string_view markup);

} // namespace velmora
