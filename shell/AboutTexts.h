#pragma once

#include <QStringList>
#include <string>

namespace velmora {

// The About window's three markup texts in the user's language, their tags as in English.
struct AboutTexts {
    QStringList Notice;
    QStringList Donation;
    QStringList Thanks;
};

// The markup controls draw Windows-1252 text, so a language whose words that code page cannot hold
// (Russian, Japanese, Chinese, Korean) gets the English texts whole rather than question marks or a
// window in two languages. Addresses and colours are filled in here, never taken from a catalogue.
AboutTexts LocalizedAboutTexts(const std::string& makerSite, const std::string& authorMail,
                               const std::string& graphicsMail);

} // namespace velmora
