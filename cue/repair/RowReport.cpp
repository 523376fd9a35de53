#include "cue/repair/RowReport.h"

#include "messages/Messages.h"

namespace velmora {
namespace {

// "3", "3 and 7", "3, 7 and 9": the last two joined by the language's word.
std::string LineList(const std::vector<std::size_t>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = std::to_string(lines[i]);
        if (i == 0) {
            text = line;
        } else if (i + 1 == lines.size()) {
            text = Localized("%s and %s", {text, line});
        } else {
            text = Localized("%s, %s", {text, line});
        }
    }
    return text;
}

// Names are written in the sheet's encoding; the text is UTF-8.
std::string Utf8Name(const std::string& name, SheetEncoding encoding) {
    return DecodeToUtf8(name, encoding).value_or(name);
}

// Each sentence is looked up whole, and the first of a list in its own capitalised form: languages
// differ in where the words of a sentence go, and a byte cannot be capitalised in every script.
std::string RepairedSentence(const RowReport& report) {
    std::string sentence;
    for (const ReferenceOutcome& repaired : report.Repaired) {
        std::string how =
            repaired.Rule ? Localized(RuleDescription(*repaired.Rule)) : Localized("chosen by you");
        if (repaired.ChosenForLength) {
            how = Localized("%s, chosen for its length: %s", {how, *repaired.ChosenForLength});
        }
        const std::string line = std::to_string(repaired.LineNumber);
        const std::string name = Utf8Name(repaired.NewName, report.Encoding);
        const bool first = sentence.empty();
        if (!first) {
            sentence += Localized("; ");
        }
        if (repaired.Moved) {
            sentence += first
                            ? Localized("The file of line %s was moved in as \"%s\" (%s)", {line, name, how})
                            : Localized("the file of line %s was moved in as \"%s\" (%s)", {line, name, how});
        } else {
            sentence += first ? Localized("Line %s now names \"%s\" (%s)", {line, name, how})
                              : Localized("line %s now names \"%s\" (%s)", {line, name, how});
        }
    }
    return Localized("%s.", {sentence});
}

std::string MissingSentence(const RowReport& report) {
    std::string sentence;
    for (const ReferenceOutcome& missing : report.Missing) {
        const std::string name = Utf8Name(missing.OldName, report.Encoding);
        const std::string line = std::to_string(missing.LineNumber);
        if (!sentence.empty()) {
            sentence += Localized("; ");
        }
        if (missing.NotWritable) {
            sentence +=
                Localized("\"%s\" on line %s is still missing: the chosen name cannot be written in the "
                          "sheet (%s)",
                          {name, line, EncodingName(report.Encoding)});
        } else if (!missing.Reason.empty()) {
            sentence += Localized("\"%s\" on line %s is still missing: %s", {name, line, missing.Reason});
        } else {
            sentence += Localized("\"%s\" on line %s is still missing", {name, line});
        }
    }
    return Localized("%s.", {sentence});
}

std::string TimesSentence(const std::vector<std::size_t>& lines) {
    if (lines.size() == 1) {
        return Localized("1 time was normalised (line %s).", {LineList(lines)});
    }
    return Localized("%s times were normalised (lines %s).", {std::to_string(lines.size()), LineList(lines)});
}

} // namespace

std::string RowReasonsText(const RowReport& report) {
    std::vector<std::string> sentences;
    if (!report.Repaired.empty()) {
        sentences.push_back(RepairedSentence(report));
    }
    if (!report.Missing.empty()) {
        sentences.push_back(MissingSentence(report));
    }
    if (!report.NormalisedTimeLines.empty()) {
        sentences.push_back(TimesSentence(report.NormalisedTimeLines));
    }
    for (const LengthMisfit& misfit : report.Misfits) {
        sentences.push_back(Localized(
            "\"%s\" on line %s is too short for the sheet: %s.",
            {Utf8Name(misfit.Name, report.Encoding), std::to_string(misfit.FileLine), MisfitText(misfit)}));
    }
    if (sentences.empty()) {
        return Localized("Every file the sheet names is present and every time is well formed.");
    }
    std::string text = sentences[0];
    for (std::size_t i = 1; i < sentences.size(); ++i) {
        text += " " + sentences[i];
    }
    return text;
}

} // namespace velmora
