#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The character set detector's library, loaded the first time a sheet needs it rather than with the
// program: most sheets are UTF-8 or Windows-1252 and never ask. Found by its run-time name,
// `kCharsetDetectorLibrary` unless VELMORA_UCHARDET names another (tests point it at a missing one).
inline constexpr const char* kCharsetDetectorLibrary = "libuchardet.so.0";

// The detector's charset name for the text; nothing when it finds none or its library cannot be
// loaded. A library that cannot be loaded is said once on the standard error stream.
std::optional<std::string> DetectCharsetName(std::string_view text);

} // namespace velmora
