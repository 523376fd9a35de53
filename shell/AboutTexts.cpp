#include "shell/AboutTexts.h"

#include "messages/AboutMarkup.h"

namespace velmora {
namespace {

QStringList ToStrings(const std::vector<std::string>& lines) {
    QStringList strings;
    for (const std::string& line : lines) {
        strings += QString::fromStdString(line);
    }
    return strings;
}

} // namespace

AboutTexts LocalizedAboutTexts(const std::string& makerSite, const std::string& authorMail,
                               const std::string& graphicsMail) {
    const AboutMarkup markup = LocalizedAboutMarkup(makerSite, authorMail, graphicsMail);
    return {ToStrings(markup.Notice), ToStrings(markup.Donation), ToStrings(markup.Thanks)};
}

} // namespace velmora
