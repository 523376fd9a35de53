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

// Addresses and colours are filled in here, never taken from a catalogue. The controls store a text
// that Windows-1252 cannot hold (Russian, Japanese, Chinese, Korean) as UTF-8.
AboutTexts LocalizedAboutTexts(const std::string& makerSite, const std::string& authorMail,
                               const std::string& graphicsMail);

} // namespace velmora
