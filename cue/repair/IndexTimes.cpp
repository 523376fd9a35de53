#include "cue/repair/IndexTimes.h"

#include "cue/repair/Repair.h"
#include "cue/repair/RowCaptions.h"
#include "cue/repair/SheetSaving.h"
#include "cue/text/SheetLines.h"
#include "cue/text/TextBuffer.h"
#include "cue/text/TimeFields.h"
#include "errors/ErrorMessages.h"
#include "messages/Messages.h"

#include <algorithm>

namespace velmora {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

// The next word of `line` at or after `at` (after separators), as start and end.
std::pair<std::size_t, std::size_t> NextWord(std::string_view line, std::size_t at) {
    while (at < line.size() && IsSeparator(line[at])) {
        ++at;
    }
    std::size_t end = at;
    while (end < line.size() && !IsSeparator(line[end])) {
        ++end;
    }
    return {at, end};
}

// Field `field` of the time: the first two end at a colon, the third runs to the end, so that a fourth
// field shows with it.
std::string_view TimeField(std::string_view time, int field) {
    for (int i = 0; i < field; ++i) {
        const std::size_t colon = time.find(':');
        if (colon == std::string_view::npos) {
            return {};
        }
        time.remove_prefix(colon + 1);
    }
    return field < 2 ? time.substr(0, time.find(':')) : time;
}

std::int32_t ConvertField(const RepairState& state, std::string_view time, int field,
                          std::size_t lineNumber) {
    const std::string_view text = TimeField(time, field);
    const std::optional<std::int32_t> value = ParseTimeField(text);
    if (!value) {
        throw Error(Localized("'%s' is not a valid integer value", {text}), state.CuePath, lineNumber);
    }
    return *value;
}

} // namespace

std::optional<std::pair<std::size_t, std::size_t>> TimeSpanOf(std::string_view line) {
    const auto [keyword, keywordEnd] = NextWord(line, 0);
    const std::string_view word = line.substr(keyword, keywordEnd - keyword);
    std::size_t at = keywordEnd;
    if (word == "INDEX") {
        const auto [number, numberEnd] = NextWord(line, at);
        if (number == numberEnd) {
            return std::nullopt;
        }
        at = numberEnd;
    } else if (word != "PREGAP" && word != "POSTGAP") {
        return std::nullopt;
    }
    const auto [time, timeEnd] = NextWord(line, at);
    return std::pair{time, timeEnd - time};
}

std::string NormaliseIndexTimes(RepairState& state, std::string_view text,
                                std::vector<std::size_t>* changedLines) {
    // Built as the lines go by: one pass, and nothing held per line.
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    std::size_t copied = 0;
    LineReader reader(text);
    std::size_t lineNumber = 0;
    for (LineSpan span; reader.Next(span);) {
        ++lineNumber;
        const std::string_view line =
            text.substr(span.Start, std::min(span.Length, TextBuffer::kMaxLineLength));
        const std::optional<std::pair<std::size_t, std::size_t>> time = TimeSpanOf(line);
        if (!time) {
            continue;
        }
        state.TimeText.assign(line.substr(time->first, time->second));
        state.Minutes = ConvertField(state, state.TimeText, 0, lineNumber);
        state.Seconds = ConvertField(state, state.TimeText, 1, lineNumber);
        state.Frames = ConvertField(state, state.TimeText, 2, lineNumber);
        CarryTime(state.Minutes, state.Seconds, state.Frames);
        // Built in place: sheets have thousands of times and most of them are well formed already.
        state.NewTimeText.clear();
        AppendTimeField(state.NewTimeText, state.Minutes);
        state.NewTimeText += ':';
        AppendTimeField(state.NewTimeText, state.Seconds);
        state.NewTimeText += ':';
        AppendTimeField(state.NewTimeText, state.Frames);
        if (state.NewTimeText == state.TimeText) {
            continue;
        }
        ++state.CorrectionCount;
        if (changedLines != nullptr) {
            changedLines->push_back(lineNumber);
        }
        result.append(text.substr(copied, span.Start + time->first - copied));
        result.append(state.NewTimeText);
        copied = span.Start + time->first + time->second;
    }
    result.append(text.substr(copied));
    return result;
}

void ReadTimesAsARepairDoes(const std::string& path, std::string_view text) {
    for (std::string_view keyword : {"AUDIO", "PERFORMER", "TITLE"}) {
        if (text.find(keyword) == std::string_view::npos) {
            return;
        }
    }
    RepairState state;
    state.CuePath = path;
    NormaliseIndexTimes(state, text);
}

RunOutcome traitementheures(RepairState& state, RepairHost& host) {
    // Worked out before anything is written, so a conversion error leaves every file as it was.
    state.WholeText = NormaliseIndexTimes(state, state.WholeText, &state.Report.NormalisedTimeLines);
    // A sheet whose bytes stay as they are is not written, and neither is its backup.
    if (SheetChanges(state, host)) {
        WriteBackupOfLoadedSheet(state, host);
        state.Report.BackedUp = true;
    }
    host.Buffer().SetText(state.WholeText);
    return AddOutcomeRow(state, host, state.CorrectionCount != 0 ? RunOutcome::Corrected : RunOutcome::Good);
}

} // namespace velmora
