#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The default application for `mimeType` in the [Default Applications] group
// of a mimeapps.list text: the first desktop id of the line, if any.
std::optional<std::string> DefaultApplication(std::string_view listText, std::string_view mimeType);

// The same text with only the `mimeType` line of [Default Applications]
// changed: set to `desktopId`, or removed when there is none. The group is
// added at the end when missing; every other line stays as it was.
std::string WithDefaultApplication(std::string_view listText, std::string_view mimeType,
                                   const std::optional<std::string>& desktopId);

inline constexpr std::string_view kDefaultGroup = "[Default Applications]";
inline constexpr std::string_view kRemovedGroup = "[Removed Associations]";

// The desktop ids of the `mimeType` line of `group`, in order.
std::vector<std::string> GroupEntry(std::string_view listText, std::string_view group,
                                    std::string_view mimeType);

// The same text with only the `mimeType` line of `group` changed: set to the
// ids given, or removed when there are none. The group is added at the end
// when missing; every other line stays as it was.
std::string WithGroupEntry(std::string_view listText, std::string_view group, std::string_view mimeType,
                           const std::vector<std::string>& desktopIds);

} // namespace velmora
