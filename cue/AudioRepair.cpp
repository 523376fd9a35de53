#include "CueText.h"
#include "Repair.h"
#include "RowCaptions.h"
#include "SheetLines.h"
#include "TextBuffer.h"

namespace velmora {
namespace {

const FileFilterList AudioFilters = {
    {"Mp3 Files", "*.mp3"}, {"Wav Files", "*.wav"}, {"Ogg Files", "*.ogg"},
    {"Mp4 Files", "*.mp4"}, {"Wma Files", "*.wma"}, {"Mpc Files", "*.mpc"},
};

// The chosen file's extension without its dot, upper-cased for a to z only.
std::string FileTypeOf(std::string_view chosenPath) {
    const std::string_view name = FileNamePart(chosenPath);
    const std::size_t dot = name.rfind('.');
    std::string type =
        dot == std::string_view::npos ? std::string() : StripThroughLast(".", name.substr(dot));
    for (char& c : type)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return type;
}

std::string FileLine(std::string_view leadingBlanks, std::string_view name, std::string_view type) {
    std::string line(leadingBlanks);
    line += "FILE \"";
    line += name;
    line += '"';
    if (!type.empty()) {
        line += ' ';
        line += type;
    }
    return line;
}

// A double quote or a line break in the name would end the FILE line's name early or split the line.
bool FitsInFileLine(std::string_view name) {
    return name.find_first_of("\"\r\n") == std::string_view::npos;
}

// Only the FILE line changes; a sheet without one gets a new line before its first TRACK line.
std::string NameChosenFile(std::string_view text, std::string_view chosenPath) {
    const std::string_view name = FileNamePart(chosenPath);
    const std::string type = FileTypeOf(chosenPath);
    if (const std::optional<LineSpan> fileLine = FindKeywordLine(text, "FILE")) {
        const std::string_view blanks = LeadingBlanks(text.substr(fileLine->Start, fileLine->Length));
        return ReplaceSpan(text, fileLine->Start, fileLine->Length, FileLine(blanks, name, type));
    }
    if (const std::optional<LineSpan> trackLine = FindKeywordLine(text, "TRACK"))
        return ReplaceSpan(text, trackLine->Start, 0, FileLine({}, name, type) + "\r\n");
    const bool endsLine = text.empty() || text.back() == '\n' || text.back() == '\r';
    return std::string(text) + (endsLine ? "" : "\r\n") + FileLine({}, name, type) + "\r\n";
}

} // namespace

RunOutcome fichiermp3(RepairState& state, RepairHost& host) {
    state.CorrectionCount = 0;
    state.WholeText = host.Buffer().Text();
    state.CueFolder = std::string(FolderPart(state.CuePath));
    state.AudioName = FileLineName(state.WholeText).value_or(std::string());

    if (!host.FileExists(state.CueFolder + state.AudioName)) {
        const std::optional<std::string> chosen = host.ChooseFile(AudioFilters, state.CueFolder);
        if (!chosen || !FitsInFileLine(FileNamePart(*chosen)))
            return AddOutcomeRow(state, host, RunOutcome::Bad);
        state.WholeText = NameChosenFile(state.WholeText, *chosen);
        ++state.CorrectionCount;
    }
    const RunOutcome outcome = traitementheures(state, host);
    SaveSheet(state);
    return outcome;
}

} // namespace velmora
