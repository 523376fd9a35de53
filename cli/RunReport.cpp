#include "cli/RunReport.h"

#include "cli/DryRunHost.h"
#include "cli/JsonLine.h"
#include "cue/text/SheetEncoding.h"
#include "cue/text/UnifiedDiff.h"

namespace velmora::fix {
namespace {

std::string NameJson(const std::string& name, SheetEncoding encoding) {
    return JsonString(DecodeToUtf8(name, encoding).value_or(name));
}

} // namespace

std::string JsonReasons(const RowReport& report) {
    std::string json = "{\"encoding\": " + JsonString(EncodingName(report.Encoding)) + ", \"repaired\": [";
    for (std::size_t i = 0; i < report.Repaired.size(); ++i) {
        const ReferenceOutcome& repaired = report.Repaired[i];
        json += (i > 0 ? ", " : "") + std::string("{\"line\": ") + std::to_string(repaired.LineNumber) +
                ", \"from\": " + NameJson(repaired.OldName, report.Encoding) +
                ", \"to\": " + NameJson(repaired.NewName, report.Encoding) +
                ", \"rule\": " + JsonString(repaired.Rule ? RuleKey(*repaired.Rule) : "chosen") +
                ", \"moved\": " + (repaired.Moved ? "true" : "false") + ", \"chosen_for_length\": " +
                (repaired.ChosenForLength ? JsonString(*repaired.ChosenForLength) : "null") + "}";
    }
    json += "], \"missing\": [";
    for (std::size_t i = 0; i < report.Missing.size(); ++i) {
        const ReferenceOutcome& missing = report.Missing[i];
        json += (i > 0 ? ", " : "") + std::string("{\"line\": ") + std::to_string(missing.LineNumber) +
                ", \"name\": " + NameJson(missing.OldName, report.Encoding) +
                ", \"unwritable\": " + (missing.NotWritable ? "true" : "false") +
                ", \"reason\": " + (missing.Reason.empty() ? "null" : JsonString(missing.Reason)) + "}";
    }
    json +=
        "], \"times\": {\"count\": " + std::to_string(report.NormalisedTimeLines.size()) + ", \"lines\": [";
    for (std::size_t i = 0; i < report.NormalisedTimeLines.size(); ++i) {
        json += (i > 0 ? ", " : "") + std::to_string(report.NormalisedTimeLines[i]);
    }
    json += "]}, \"misfits\": " + JsonMisfits(report.Misfits, report.Encoding);
    return json + "}";
}

std::string JsonMisfits(const std::vector<LengthMisfit>& misfits, SheetEncoding encoding) {
    std::string json = "[";
    for (std::size_t i = 0; i < misfits.size(); ++i) {
        const LengthMisfit& misfit = misfits[i];
        json += (i > 0 ? ", " : "") + std::string("{\"line\": ") + std::to_string(misfit.FileLine) +
                ", \"name\": " + NameJson(misfit.Name, encoding) +
                ", \"kind\": " + (misfit.Image ? "\"image\"" : "\"audio\"") +
                ", \"track\": " + std::to_string(misfit.Index.Track) +
                ", \"index_line\": " + std::to_string(misfit.Index.LineNumber) +
                ", \"start\": " + JsonString(misfit.Start) + ", \"length\": " + JsonString(misfit.Length) +
                ", \"past\": " +
                JsonString(misfit.Past.empty() ? "00:00" + std::string(misfit.Image ? ":00" : ".00")
                                               : misfit.Past) +
                ", \"text\": " + JsonString(MisfitText(misfit)) + "}";
    }
    return json + "]";
}

std::string JsonMoves(const RowReport& report) {
    std::string json = "[";
    for (std::size_t i = 0; i < report.Moves.size(); ++i) {
        json += (i > 0 ? ", " : "") + std::string("{\"from\": ") + JsonPath(report.Moves[i].From) +
                ", \"to\": " + JsonPath(report.Moves[i].To) + "}";
    }
    return json + "]";
}

std::string DryRunText(const std::string& shownSheet, const std::vector<RecordedWrite>& writes,
                       const RowReport& report, bool inUtf8) {
    const auto lines = [&](const std::string& text) {
        return inUtf8 ? DecodeToUtf8(text, report.Encoding).value_or(text) : text;
    };
    std::string text;
    for (const RecordedWrite& write : writes) {
        text += UnifiedDiff(lines(write.Before), lines(write.After), shownSheet, shownSheet);
    }
    for (const PlannedMove& move : report.Moves) {
        text += "move " + move.From + " -> " + move.To + "\n";
    }
    return text;
}

} // namespace velmora::fix
