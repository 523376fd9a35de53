#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace velmora {

// A compiled message catalogue (msgfmt's .mo file): each English text with its translation.
using Catalogue = std::map<std::string, std::string, std::less<>>;

// The catalogue in `bytes`; empty when they are not a well-formed catalogue of either byte order.
// Untranslated and plural entries are left out: the code looks up single texts only.
Catalogue ParseCatalogue(std::string_view bytes);

// The catalogue in `file`; empty when it cannot be read.
Catalogue ReadCatalogue(const std::filesystem::path& file);

} // namespace velmora
