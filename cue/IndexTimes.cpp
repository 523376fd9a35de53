#include "IndexTimes.h"

#include "CueText.h"
#include "Error.h"
#include "Repair.h"
#include "RowCaptions.h"
#include "SheetLines.h"
#include "SheetSaving.h"
#include "TextBuffer.h"

#include <algorithm>
#include <limits>

namespace velmora {
namespace {

constexpr std::string_view IndexMarker = "INDEX 01 ";
constexpr int FramesPerSecond = 75;
constexpr int SecondsPerMinute = 60;

int DigitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

std::int32_t ConvertField(const RepairState& state, std::string_view time, int field,
                          std::size_t lineNumber) {
    const std::string text = ExtractField(time, ':', field);
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value)
        throw Error("'" + text + "' n'est pas une valeur entière correcte", state.CuePath, lineNumber);
    return *value;
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string FormatTimeField(std::int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 2)
        digits.insert(0, 2 - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

void CarryTime(std::int64_t& minutes, std::int64_t& seconds, std::int64_t& frames) {
    if (frames >= FramesPerSecond) {
        seconds += frames / FramesPerSecond;
        frames %= FramesPerSecond;
    }
    if (seconds >= SecondsPerMinute) {
        minutes += seconds / SecondsPerMinute;
        seconds %= SecondsPerMinute;
    }
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
            text.substr(span.Start, std::min(span.Length, TextBuffer::MaxLineLength));
        if (line.find("INDEX 01") == std::string_view::npos)
            continue;
        state.TimeText = Trim(TextAfter(IndexMarker, line));
        state.Minutes = ConvertField(state, state.TimeText, 0, lineNumber);
        state.Seconds = ConvertField(state, state.TimeText, 1, lineNumber);
        state.Frames = ConvertField(state, state.TimeText, 2, lineNumber);
        CarryTime(state.Minutes, state.Seconds, state.Frames);
        state.NewTimeText = FormatTimeField(state.Minutes) + ":" + FormatTimeField(state.Seconds) + ":" +
                            FormatTimeField(state.Frames);
        if (state.NewTimeText == state.TimeText)
            continue;
        ++state.CorrectionCount;
        if (changedLines != nullptr)
            changedLines->push_back(lineNumber);
        // The time is what follows the marker; without the marker it starts at the marker's length.
        const std::size_t marker = line.find(IndexMarker);
        const std::size_t searchFrom =
            marker == std::string_view::npos ? IndexMarker.size() - 1 : marker + IndexMarker.size();
        const std::size_t at = line.find(state.TimeText, searchFrom);
        result.append(text.substr(copied, span.Start + at - copied));
        result.append(state.NewTimeText);
        copied = span.Start + at + state.TimeText.size();
    }
    result.append(text.substr(copied));
    return result;
}

RunOutcome traitementheures(RepairState& state, RepairHost& host) {
    // Worked out before anything is written, so a conversion error leaves every file as it was.
    state.WholeText = NormaliseIndexTimes(state, state.WholeText, &state.Report.NormalisedTimeLines);
    // A sheet whose bytes stay as they are is not written, and neither is its backup.
    if (SheetChanges(state, host))
        WriteBackupOfLoadedSheet(state, host);
    host.Buffer().SetText(state.WholeText);
    return AddOutcomeRow(state, host, state.CorrectionCount != 0 ? RunOutcome::Corrected : RunOutcome::Good);
}

} // namespace velmora
