#include "cue/repair/ReferenceChoice.h"

#include "cue/repair/CandidateLengths.h"
#include "cue/repair/SiblingSheets.h"

namespace velmora {

std::string DiskNameOf(const std::string& name, SheetEncoding encoding) {
    if (HeldAsUtf8(encoding)) {
        return name;
    }
    return DecodeToUtf8(name, encoding).value_or(name);
}

ReferenceChooser::ReferenceChooser(RepairHost& host, std::string folder, std::string sheetFileName,
                                   FileKind kind, SheetEncoding encoding, FileFilterList filters)
    : host_(host), folder_(std::move(folder)), sheetFileName_(std::move(sheetFileName)), kind_(kind),
      encoding_(encoding), filters_(std::move(filters)) {
    // A sheet that names itself never has itself moved or offered.
    taken_.push_back(sheetFileName_);
}

ReferencePath ReferenceChooser::Resolve(const std::string& name) const {
    return ResolveReference(DiskNameOf(name, encoding_), folder_);
}

std::optional<std::string> FoundPath(RepairHost& host, const std::string& name, const std::string& folder,
                                     SheetEncoding encoding) {
    const std::string lookup = ResolveReference(DiskNameOf(name, encoding), folder).LookupPath;
    if (!lookup.empty() && host.Storage().FileExists(lookup)) {
        return lookup;
    }
    // A name in an ANSI code page may also lie on disk under its own bytes.
    const std::string asWritten = ResolveReference(name, folder).LookupPath;
    if (asWritten != lookup && !asWritten.empty() && host.Storage().FileExists(asWritten)) {
        return asWritten;
    }
    return std::nullopt;
}

bool ReferenceChooser::IsPresent(const std::string& name) const {
    return FoundPath(host_, name, folder_, encoding_).has_value();
}

std::optional<ReferenceChoice> ReferenceChooser::Ask(const std::string& name, std::size_t lineNumber,
                                                     const FileTimes* times) {
    if (!entries_) {
        entries_ = host_.Storage().RegularFilesIn(folder_);
        const std::vector<std::string> claimed =
            FilesOfOtherSheets(host_.Storage(), folder_, *entries_, sheetFileName_);
        taken_.insert(taken_.end(), claimed.begin(), claimed.end());
    }
    // Files beside the sheet are matched against the name the reference ends in.
    const std::string placed = Resolve(name).PlacedName;
    const std::string wanted = placed.substr(placed.rfind('/') + 1);
    std::vector<Candidate> candidates =
        FindCandidates(*entries_, EncodeFromUtf8(wanted, encoding_).value_or(wanted), sheetFileName_, kind_,
                       encoding_, taken_);
    const std::vector<CandidateLength> lengths =
        OrderByLength(candidates, folder_, kind_, times, host_.Lengths());
    FileRequest request{filters_, folder_, name, lineNumber, {}, candidates.size()};
    for (const Candidate& candidate : candidates) {
        request.Candidates.push_back(folder_ + candidate.FileName);
    }
    request.PlausibleCandidates = PlausibleCount(lengths, candidates.size());
    std::optional<std::string> chosen = host_.ChooseReferencedFile(request);
    if (!chosen) {
        return std::nullopt;
    }
    ReferenceChoice choice{std::move(*chosen), std::nullopt, std::nullopt};
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (choice.Path == folder_ + candidates[i].FileName) {
            choice.Rule = candidates[i].Rule;
            if (times != nullptr) {
                choice.ChosenForLength = LengthDecided(lengths, i, *times);
            }
        }
    }
    return choice;
}

} // namespace velmora
