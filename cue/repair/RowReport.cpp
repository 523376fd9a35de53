#include "cue/repair/RowReport.h"

namespace velmora {
namespace {

std::string LineList(const std::vector<std::size_t>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += i + 1 == lines.size() ? " and " : ", ";
        }
        text += std::to_string(lines[i]);
    }
    return text;
}

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Names are written in the sheet's encoding; the text is UTF-8.
std::string Utf8Name(const std::string& name, SheetEncoding encoding) {
    return DecodeToUtf8(name, encoding).value_or(name);
}

} // namespace

std::string RowReasonsText(const RowReport& report) {
    std::vector<std::string> sentences;
    if (!report.Repaired.empty()) {
        std::string sentence;
        for (const ReferenceOutcome& repaired : report.Repaired) {
            sentence += sentence.empty() ? "" : "; ";
            sentence += repaired.Moved ? "the file of line " : "line ";
            sentence += std::to_string(repaired.LineNumber);
            sentence += repaired.Moved ? " was moved in as \"" : " now names \"";
            sentence += Utf8Name(repaired.NewName, report.Encoding);
            sentence += "\" (";
            sentence += repaired.Rule ? RuleDescription(*repaired.Rule) : "chosen by you";
            if (repaired.ChosenForLength) {
                sentence += ", chosen for its length: " + *repaired.ChosenForLength;
            }
            sentence += ")";
        }
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
        sentences.push_back(sentence + ".");
    }
    if (!report.Missing.empty()) {
        std::string sentence;
        for (const ReferenceOutcome& missing : report.Missing) {
            sentence += sentence.empty() ? "" : "; ";
            sentence += '"';
            sentence += Utf8Name(missing.OldName, report.Encoding);
            sentence += "\" on line ";
            sentence += std::to_string(missing.LineNumber);
            sentence += " is still missing";
            if (missing.NotWritable) {
                sentence += ": the chosen name cannot be written in the sheet (";
                sentence += EncodingName(report.Encoding);
                sentence += ")";
            } else if (!missing.Reason.empty()) {
                sentence += ": " + missing.Reason;
            }
        }
        sentences.push_back(sentence + ".");
    }
    if (!report.NormalisedTimeLines.empty()) {
        sentences.push_back(Plural(report.NormalisedTimeLines.size(), "time was", "times were") +
                            " normalised (line" + (report.NormalisedTimeLines.size() == 1 ? " " : "s ") +
                            LineList(report.NormalisedTimeLines) + ").");
    }
    for (const LengthMisfit& misfit : report.Misfits) {
        // Appended piece by piece: a quote put before a temporary trips GCC 12's overlap warning.
        std::string sentence = "\"";
        sentence += Utf8Name(misfit.Name, report.Encoding);
        sentence += "\" on line " + std::to_string(misfit.FileLine) + " is too short for the sheet: ";
        sentence += MisfitText(misfit) + ".";
        sentences.push_back(std::move(sentence));
    }
    if (sentences.empty()) {
        return "Every file the sheet names is present and every time is well formed.";
    }
    std::string text = sentences[0];
    for (std::size_t i = 1; i < sentences.size(); ++i) {
        text += " " + sentences[i];
    }
    return text;
}

} // namespace velmora
