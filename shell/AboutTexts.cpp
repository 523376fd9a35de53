#include "shell/AboutTexts.h"

#include "controls/MarkupControl.h"
#include "messages/FillIn.h"
#include "messages/Messages.h"

#include <initializer_list>
#include <string_view>

namespace velmora {
namespace {

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

// Each line both as the user reads it and in English, so that the whole window can fall back at once.
class MarkupLines {
public:
    void Add(QStringList AboutTexts::*list, const char* english,
             std::initializer_list<std::string_view> values) {
        translated_.*list += QString::fromStdString(Localized(english, values));
        english_.*list += QString::fromStdString(FillIn(english, values));
    }
    void AddAsItIs(QStringList AboutTexts::*list, const char* markup) {
        translated_.*list += QString::fromLatin1(markup);
        english_.*list += QString::fromLatin1(markup);
    }

    AboutTexts Shown() const {
        for (const QStringList* lines : {&translated_.Notice, &translated_.Donation, &translated_.Thanks}) {
            if (LinesToStrings(StringsToLines(*lines)) != *lines) {
                return english_;
            }
        }
        return translated_;
    }

private:
    AboutTexts translated_;
    AboutTexts english_;
};

} // namespace

AboutTexts LocalizedAboutTexts(const std::string& makerSite, const std::string& authorMail,
                               const std::string& graphicsMail) {
    const std::string red = Quoted("#FF0000");
    MarkupLines lines;
    lines.Add(&AboutTexts::Notice, ForCatalogue("<B>Velmora Version 1.0</B> is freeware.<br>"), {});
    lines.Add(&AboutTexts::Notice, ForCatalogue("You may use it and share it free of charge.<br><br>"), {});
    lines.Add(
        &AboutTexts::Notice,
        ForCatalogue(
            "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to "
            "show your appreciation for my work, please "),
        {});
    lines.Add(&AboutTexts::Notice, ForCatalogue("support me by making a donation."), {});
    lines.AddAsItIs(&AboutTexts::Notice, "");
    lines.AddAsItIs(&AboutTexts::Notice, "<br>");
    lines.Add(&AboutTexts::Notice,
              ForCatalogue("<br>Graphics by <b><A href=%s><FONT color=%s>Brisel</FONT></A></b> (Thanks !!)"),
              {Quoted(graphicsMail), red});
    lines.Add(&AboutTexts::Donation,
              ForCatalogue(
                  "<BLINK><B><A href=%s>Visit my website if you want to make a Donation !</A></B></BLINK>"),
              {Quoted(makerSite)});
    lines.Add(&AboutTexts::Thanks,
              ForCatalogue("Thank you !<br>       <B><FONT color=%s><A href=%s>Dastrel</A></FONT></B>"),
              {red, Quoted(authorMail)});
    return lines.Shown();
}

} // namespace velmora
