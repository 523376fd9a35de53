#include "messages/AboutMarkup.h"

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
    void Add(std::vector<std::string> AboutMarkup::*list, const char* english,
             std::initializer_list<std::string_view> values) {
        (texts_.*list).push_back(Localized(english, values));
    }
    void AddAsItIs(std::vector<std::string> AboutMarkup::*list, const char* markup) {
        (texts_.*list).emplace_back(markup);
    }

    AboutMarkup Shown() const { return texts_; }

private:
    AboutMarkup texts_;
};

} // namespace

AboutMarkup LocalizedAboutMarkup(const std::string& makerSite, const std::string& authorMail,
                                 const std::string& graphicsMail) {
    const std::string red = Quoted("#FF0000");
    MarkupLines lines;
    lines.Add(&AboutMarkup::Notice, ForCatalogue("<B>Velmora Version 1.0</B> is freeware.<br>"), {});
    lines.Add(&AboutMarkup::Notice, ForCatalogue("You may use it and share it free of charge.<br><br>"), {});
    lines.Add(
        &AboutMarkup::Notice,
        ForCatalogue(
            "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to "
            "show your appreciation for my work, please "),
        {});
    lines.Add(&AboutMarkup::Notice, ForCatalogue("support me by making a donation."), {});
    lines.AddAsItIs(&AboutMarkup::Notice, "");
    lines.AddAsItIs(&AboutMarkup::Notice, "<br>");
    lines.Add(&AboutMarkup::Notice,
              ForCatalogue("<br>Graphics by <b><A href=%s><FONT color=%s>Brisel</FONT></A></b> (Thanks !!)"),
              {Quoted(graphicsMail), red});
    lines.Add(&AboutMarkup::Donation,
              ForCatalogue(
                  "<BLINK><B><A href=%s>Visit my website if you want to make a Donation !</A></B></BLINK>"),
              {Quoted(makerSite)});
    lines.Add(&AboutMarkup::Thanks,
              ForCatalogue("Thank you !<br>       <B><FONT color=%s><A href=%s>Dastrel</A></FONT></B>"),
              {red, Quoted(authorMail)});
    return lines.Shown();
}

} // namespace velmora
