#include "ReferenceChoice.h"

#include "SiblingSheets.h"

namespace velmora {

std::string DiskNameOf(const std::string& name, SheetEncoding encoding) {
    if (HeldAsUtf8(encoding))
        return name;
    return DecodeToUtf8(name, encoding).value_or(name);
}

ReferenceChooser::ReferenceChooser(RepairHost& host, std::string folder, std::string sheetFileName,
                                   FileKind kind, SheetEncoding encoding, FileFilterList filters)
    : host_(host), folder_(std::move(folder)), sheetFileName_(std::move(sheetFileName)), kind_(kind),
      encoding_(encoding), filters_(std::move(filters)) {}

ReferencePath ReferenceChooser::Resolve(const std::string& name) const {
    return ResolveReference(DiskNameOf(name, encoding_), folder_);
}

bool ReferenceChooser::IsPresent(const std::string& name) const {
    const std::string lookup = Resolve(name).LookupPath;
    if (!lookup.empty() && host_.FileExists(lookup))
        return true;
    // A name in an ANSI code page may also lie on disk under its own bytes.
    const std::string asWritten = ResolveReference(name, folder_).LookupPath;
    return asWritten != lookup && !asWritten.empty() && host_.FileExists(asWritten);
}

std::optional<ReferenceChoice> ReferenceChooser::Ask(const std::string& name, std::size_t lineNumber) {
    if (!entries_) {
        entries_ = RegularFilesIn(folder_);
        const std::vector<std::string> claimed = FilesOfOtherSheets(folder_, *entries_, sheetFileName_);
        taken_.insert(taken_.end(), claimed.begin(), claimed.end());
    }
    // Files beside the sheet are matched against the name the reference ends in.
    const std::string placed = Resolve(name).PlacedName;
    const std::string wanted = placed.substr(placed.rfind('/') + 1);
    const std::vector<Candidate> candidates =
        FindCandidates(*entries_, EncodeFromUtf8(wanted, encoding_).value_or(wanted), sheetFileName_, kind_,
                       encoding_, taken_);
    FileRequest request{filters_, folder_, name, lineNumber, {}};
    for (const Candidate& candidate : candidates)
        request.Candidates.push_back(folder_ + candidate.FileName);
    std::optional<std::string> chosen = host_.ChooseReferencedFile(request);
    if (!chosen)
        return std::nullopt;
    ReferenceChoice choice{std::move(*chosen), std::nullopt};
    for (const Candidate& candidate : candidates)
        if (choice.Path == folder_ + candidate.FileName)
            choice.Rule = candidate.Rule;
    return choice;
}

} // namespace velmora
