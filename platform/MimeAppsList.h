#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The default application for `mimeType` in the [Default Applications] group
// of a mimeapps.list text: the first desktop id of the line, if any.
std::optional<std::string> DefaultApplication(std::string_view listText, std::string_view mimeType);

// The same text with only the `mimeType` line of [Default Applications]
// changed: set to `desktopId`, or removed when there is none. The group is
// added at the end when missing; every other line stays as it was.
std::string WithDefaultApplication(std::string_view listText, std::string_view mimeType,
                                   const std::optional<std::string>& desktopId);

} // namespace velmora
