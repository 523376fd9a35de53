#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>

namespace velmora {

// The windows' texts from the same catalogues as every other message: `english` in the user's language,
// each "%s" replaced in order by the next of `values`.
QString LocalizedText(const char* english, std::initializer_list<std::string_view> values = {});

} // namespace velmora
