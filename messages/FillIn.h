#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora {

// `pattern` with each "%s" replaced, in order, by the next of `values`; a "%s" beyond them stays.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

} // namespace velmora
