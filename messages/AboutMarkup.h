#pragma once

#include <string>
#include <vector>

namespace velmora {

// The About window's three markup texts in the user's language, UTF-8, their tags as in English.
struct AboutMarkup {
    std::vector<std::string> Notice;
    std::vector<std::string> Donation;
    std::vector<std::string> Thanks;
};

// Addresses and colours are filled in here, never taken from a catalogue.
AboutMarkup LocalizedAboutMarkup(const std::string& makerSite, const std::string& authorMail,
                                 const std::string& graphicsMail);

} // namespace velmora
