#include "cue/repair/CandidateLengths.h"

#include "cue/repair/LengthChecks.h"
#include "messages/Messages.h"

#include <algorithm>
#include <numeric>

namespace velmora {

std::vector<CandidateLength> OrderByLength(std::vector<Candidate>& candidates, const std::string& folder,
                                           FileKind kind, const FileTimes* times, LengthReader* reader) {
    if (reader == nullptr || times == nullptr || times->Indexes.empty() || candidates.empty()) {
        return {};
    }
    std::vector<CandidateLength> lengths;
    for (const Candidate& candidate : candidates) {
        CandidateLength length;
        length.Capacity = ReadCapacity(*reader, folder + candidate.FileName, kind == FileKind::Image);
        if (length.Capacity) {
            length.Verdict = Holds(*times, *length.Capacity) ? LengthVerdict::Holds : LengthVerdict::TooShort;
        }
        lengths.push_back(length);
    }
    std::vector<std::size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lengths[a].Verdict < lengths[b].Verdict; });
    std::vector<Candidate> orderedCandidates;
    std::vector<CandidateLength> orderedLengths;
    for (std::size_t i : order) {
        orderedCandidates.push_back(candidates[i]);
        orderedLengths.push_back(lengths[i]);
    }
    candidates = std::move(orderedCandidates);
    return orderedLengths;
}

std::size_t PlausibleCount(const std::vector<CandidateLength>& lengths, std::size_t candidateCount) {
    if (lengths.empty()) {
        return candidateCount;
    }
    return static_cast<std::size_t>(
        std::count_if(lengths.begin(), lengths.end(),
                      [](const CandidateLength& l) { return l.Verdict != LengthVerdict::TooShort; }));
}

std::optional<std::string> LengthDecided(const std::vector<CandidateLength>& lengths, std::size_t chosen,
                                         const FileTimes& times) {
    const bool anotherTooShort = std::any_of(lengths.begin(), lengths.end(), [](const CandidateLength& l) {
        return l.Verdict == LengthVerdict::TooShort;
    });
    if (chosen >= lengths.size() || lengths[chosen].Verdict != LengthVerdict::Holds || !anotherTooShort) {
        return std::nullopt;
    }
    const std::size_t tracks = times.TrackCount();
    const std::string capacity = CapacityText(times, *lengths[chosen].Capacity);
    return tracks == 1 ? Localized("%s holds its one track", {capacity})
                       : Localized("%s holds all %s tracks", {capacity, std::to_string(tracks)});
}

} // namespace velmora
