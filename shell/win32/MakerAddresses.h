#pragma once

#include <string>

namespace velmora {

// Where the maker, the author and the graphics' author are found, as the windows show them.
inline constexpr const char* kMakerHost = "www.dastrel.example";
inline const std::string kMakerSite = std::string("http://") + kMakerHost + "/";
inline const std::string kAuthorMail = "mailto:dastrel@dastrel.example";
inline const std::string kGraphicsMail = "mailto:brisel@dastrel.example";

} // namespace velmora
