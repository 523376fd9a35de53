#pragma once

#include "cue/lengths/LengthFit.h"
#include "cue/references/Candidates.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

enum class LengthVerdict { Holds, Unknown, TooShort };

struct CandidateLength {
    LengthVerdict Verdict = LengthVerdict::Unknown;
    std::optional<FileCapacity> Capacity;
};

// Reads the length of each candidate (files in `folder`) and puts those that hold every INDEX of `times`
// first, those whose length cannot be read next and those too short last, each group in its former
// order. The verdicts, in the new order; empty, and the order unchanged, without a reader or times.
std::vector<CandidateLength> OrderByLength(std::vector<Candidate>& candidates, const std::string& folder,
                                           FileKind kind, const FileTimes* times, LengthReader* reader);

// How many candidates are not known to be too short.
std::size_t PlausibleCount(const std::vector<CandidateLength>& lengths, std::size_t candidateCount);

// "61:12.00 holds all 14 tracks" when candidate `chosen` holds the times and another one was too short
// for them, so that its length decided; nothing otherwise.
std::optional<std::string> LengthDecided(const std::vector<CandidateLength>& lengths, std::size_t chosen,
                                         const FileTimes& times);

} // namespace velmora
