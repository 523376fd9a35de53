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

class MarkupLines {
public:
    void Add(QStringList AboutTexts::*list, const char* english,
             std::initializer_list<std::string_view> values) {
        texts_.*list += QString::fromStdString(Localized(english, values));
    }
    void AddAsItIs(QStringList AboutTexts::*list, const char* markup) {
        texts_.*list += QString::fromLatin1(markup);
    }

    AboutTexts Shown() const { return texts_; }

private:
    AboutTexts texts_;
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
