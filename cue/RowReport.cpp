#include "RowReport.h"

namespace velmora {
namespace {

std::string LineList(const std::vector<std::size_t>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += i + 1 == lines.size() ? " and " : ", ";
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
            sentence += (repaired.Moved ? "the file of line " + std::to_string(repaired.LineNumber) +
                                              " was moved in as \""
                                        : "line " + std::to_string(repaired.LineNumber) + " now names \"") +
                        Utf8Name(repaired.NewName, report.Encoding) + "\" (" +
                        (repaired.Rule ? RuleDescription(*repaired.Rule) : "chosen by you") + ")";
        }
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
        sentences.push_back(sentence + ".");
    }
    if (!report.Missing.empty()) {
        std::string sentence;
        for (const ReferenceOutcome& missing : report.Missing) {
            sentence += sentence.empty() ? "" : "; ";
            sentence +=
                "\"" + Utf8Name(missing.OldName, report.Encoding) + "\" on line " +
                std::to_string(missing.LineNumber) +
                (missing.NotWritable ? " is still missing: the chosen name cannot be written in the sheet (" +
                                           std::string(EncodingName(report.Encoding)) + ")"
                                     : " is still missing");
        }
        sentences.push_back(sentence + ".");
    }
    if (!report.NormalisedTimeLines.empty())
        sentences.push_back(Plural(report.NormalisedTimeLines.size(), "time was", "times were") +
                            " normalised (line" + (report.NormalisedTimeLines.size() == 1 ? " " : "s ") +
                            LineList(report.NormalisedTimeLines) + ").");
    if (sentences.empty())
        return "Every file the sheet names is present and every time is well formed.";
    std::string text = sentences[0];
    for (std::size_t i = 1; i < sentences.size(); ++i)
        text += " " + sentences[i];
    return text;
}

} // namespace velmora
